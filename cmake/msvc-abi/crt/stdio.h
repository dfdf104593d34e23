// Completes Wine's stdio.h for Microsoft's standard library: the v*scanf
// functions, which the UCRT's header defines inline over ucrtbase.dll's
// __stdio_common_vfscanf and __stdio_common_vsscanf, and
// _get_stream_buffer_pointers, which the standard library's file buffers use.
#pragma once
#include_next <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

__declspec(dllimport) errno_t __cdecl _get_stream_buffer_pointers(
    FILE* _Stream, char*** _Base, char*** _Pointer, int** _Count);

static __inline int __cdecl vfscanf(FILE* _Stream, char const* _Format, va_list _ArgList) {
    return __stdio_common_vfscanf(0, _Stream, _Format, NULL, _ArgList);
}

static __inline int __cdecl vscanf(char const* _Format, va_list _ArgList) {
    return vfscanf(stdin, _Format, _ArgList);
}

static __inline int __cdecl vsscanf(char const* _Buffer, char const* _Format, va_list _ArgList) {
    return __stdio_common_vsscanf(0, _Buffer, (size_t)-1, _Format, NULL, _ArgList);
}

#ifdef __cplusplus
}
#endif
