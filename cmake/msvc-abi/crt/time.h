// Completes Wine's time.h: struct timespec and timespec_get, which the UCRT's
// header defines inline over ucrtbase.dll's _timespec64_get, and which the
// standard library names in <ctime>, and localtime_s and gmtime_s, which the
// UCRT's header defines inline over the 64-bit functions.
#pragma once
#include_next <time.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifndef _CRT_TIMESPEC_DEFINED
#define _CRT_TIMESPEC_DEFINED
struct _timespec64 {
    __time64_t tv_sec;
    long tv_nsec;
};
struct timespec {
    time_t tv_sec;
    long tv_nsec;
};
#endif

#ifndef TIME_UTC
#define TIME_UTC 1
#endif

__declspec(dllimport) int __cdecl _timespec64_get(struct _timespec64* _Ts, int _Base);

static __inline int __cdecl timespec_get(struct timespec* _Ts, int _Base) {
    return _timespec64_get((struct _timespec64*)_Ts, _Base);
}

static __inline errno_t __cdecl localtime_s(struct tm* _Tm, time_t const* _Time) {
    return _localtime64_s(_Tm, _Time);
}

__declspec(dllimport) errno_t __cdecl _gmtime64_s(struct tm* _Tm, __time64_t const* _Time);
static __inline errno_t __cdecl gmtime_s(struct tm* _Tm, time_t const* _Time) {
    return _gmtime64_s(_Tm, _Time);
}

#ifdef __cplusplus
}
#endif
