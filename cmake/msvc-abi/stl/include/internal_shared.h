// Stands in for internal_shared.h, the runtime's closed internal header that
// the standard library's own sources include. Of it, the lazy facets'
// registration (locale0_implib.cpp) needs only the marker of data shared by
// every application domain under the managed runtime (a native build has one),
// and the heap functions that the debug heap's names map to in a release build.
#pragma once
#include <stdlib.h>
#ifndef __PURE_APPDOMAIN_GLOBAL
#define __PURE_APPDOMAIN_GLOBAL
#endif
