// Stands in for vcruntime_new_debug.h, the compiler runtime's closed header for
// the debug heap's operator new forms (file and line). This build never uses the
// debug heap, so only the plain declarations are needed.
#pragma once
#include <vcruntime_new.h>
