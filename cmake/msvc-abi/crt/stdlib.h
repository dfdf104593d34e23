// Completes Wine's stdlib.h for Microsoft's standard library: quick_exit and
// at_quick_exit (ucrtbase.dll exports the first; the UCRT's static part
// registers the second with _crt_at_quick_exit), _invoke_watson, which the
// standard library calls on an invalid parameter, _set_abort_behavior, and the C++ overloads of abs
// for long and long long that the UCRT's header defines.
//
// atexit and _onexit belong to the runtime's static part in every module (each
// DLL has its own table, run when it is unloaded); Wine declares them imported
// from ucrtbase.dll, so its declarations are renamed out of the way.
#pragma once
#define atexit __wine_imported_atexit
#define _onexit __wine_imported_onexit
#include_next <stdlib.h>
#undef atexit
#undef _onexit

#ifdef __cplusplus
extern "C" {
#endif

__declspec(dllimport) int __cdecl _crt_at_quick_exit(void(__cdecl* _Function)(void));
__declspec(dllimport) __declspec(noreturn) void __cdecl quick_exit(int _Code);
__declspec(dllimport) __declspec(noreturn) void __cdecl _invoke_watson(wchar_t const* _Expression,
    wchar_t const* _FunctionName, wchar_t const* _FileName, unsigned int _LineNo, uintptr_t _Reserved);

__declspec(dllimport) unsigned int __cdecl _set_abort_behavior(unsigned int _Flags, unsigned int _Mask);

int __cdecl atexit(void(__cdecl* _Function)(void));
_onexit_t __cdecl _onexit(_onexit_t _Function);

static __inline int __cdecl at_quick_exit(void(__cdecl* _Function)(void)) {
    return _crt_at_quick_exit(_Function);
}

#ifdef __cplusplus
}
#endif

// The UCRT's stdlib.h brings errno and its codes (the standard library's string
// conversions test ERANGE after including only this header).
#include <errno.h>

#ifdef __cplusplus
extern "C++" {
inline long __cdecl abs(long const _Number) noexcept {
    return labs(_Number);
}
inline long long __cdecl abs(long long const _Number) noexcept {
    return llabs(_Number);
}
}
#endif
