// The standard library's own sources name the SDK's main header with the
// spelling of Windows' case-blind file system; Wine's is windows.h.
#pragma once
#include <windows.h>
