// Completes Wine's wchar.h for Microsoft's standard library: Wine declares
// mbstate_t as int, where the UCRT and the standard library's DLL share the
// 8-byte _Mbstatet (conversion states cross into msvcp140.dll), and it lacks the
// functions that the UCRT's header defines inline: fwide, mbsinit and the
// v*wscanf family over __stdio_common_vfwscanf / __stdio_common_vswscanf.
#pragma once
#define mbstate_t __wine_int_mbstate_t
#include_next <wchar.h>
#undef mbstate_t

#include <corecrt.h>
#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef _Mbstatet mbstate_t;

__declspec(dllimport) int __cdecl __stdio_common_vfwscanf(
    unsigned __int64 _Options, FILE* _Stream, wchar_t const* _Format, _locale_t _Locale, va_list _ArgList);
__declspec(dllimport) int __cdecl __stdio_common_vswscanf(unsigned __int64 _Options,
    wchar_t const* _Buffer, size_t _BufferCount, wchar_t const* _Format, _locale_t _Locale, va_list _ArgList);
__declspec(dllimport) long double __cdecl wcstold(wchar_t const* _String, wchar_t** _EndPtr);

static __inline int __cdecl fwide(FILE* _Stream, int _Mode) {
    (void)_Stream;
    return _Mode;
}

static __inline int __cdecl mbsinit(mbstate_t const* _State) {
    return _State == NULL || _State->_Wchar == 0;
}

static __inline int __cdecl vfwscanf(FILE* _Stream, wchar_t const* _Format, va_list _ArgList) {
    return __stdio_common_vfwscanf(0, _Stream, _Format, NULL, _ArgList);
}

static __inline int __cdecl vwscanf(wchar_t const* _Format, va_list _ArgList) {
    return vfwscanf(stdin, _Format, _ArgList);
}

static __inline int __cdecl vswscanf(wchar_t const* _Buffer, wchar_t const* _Format, va_list _ArgList) {
    return __stdio_common_vswscanf(0, _Buffer, (size_t)-1, _Format, NULL, _ArgList);
}

#ifdef __cplusplus
}
#endif
