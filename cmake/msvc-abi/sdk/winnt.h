// Fixes Wine's winnt.h for clang in MSVC mode: Wine defines
// InterlockedCompareExchange128 as _InterlockedCompareExchange128 and, for any
// compiler but Microsoft's, defines that name itself, which clang-cl refuses
// because it is one of its builtins. Wine's definition is renamed out of the
// way while the header is read, and the name then means the builtin, as it does
// with the real SDK.
#pragma once
#define _InterlockedCompareExchange128 __wine_InterlockedCompareExchange128
#include_next <winnt.h>
#undef _InterlockedCompareExchange128
#undef InterlockedCompareExchange128
#define InterlockedCompareExchange128 _InterlockedCompareExchange128
