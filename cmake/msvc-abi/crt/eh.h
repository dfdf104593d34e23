// Completes Wine's eh.h: it declares terminate with C++ linkage, where
// ucrtbase.dll exports it under its C name (as the UCRT's header declares it),
// so Wine's declaration is renamed out of the way; and it adds _get_terminate,
// which the standard library's std::get_terminate calls.
#pragma once
#define terminate __wine_cxx_terminate
#include_next <eh.h>
#undef terminate

#ifdef __cplusplus
extern "C" {
#endif
__declspec(dllimport) __declspec(noreturn) void __cdecl terminate(void);
__declspec(dllimport) terminate_handler __cdecl _get_terminate(void);
#ifdef __cplusplus
}
#endif
