// Completes Wine's msvcp140.dll: the standard library's condition_variable waits
// for a duration through _Cnd_timedwait_for_unchecked, which Microsoft's DLL
// exports and Wine 8's lacks. It is made here over the absolute-time wait that
// Wine does export (_Cnd_timedwait): the target is now plus the duration, by
// the system clock, which may end a wait early if the clock is set back, as the
// name's "unchecked" allows (the caller checks the steady clock).
#include <time.h>
#include <xthreads.h>

extern "C" _CRTIMP2_PURE _Thrd_result __cdecl _Cnd_timedwait(
    _Cnd_t condition, _Mtx_t mutex, const _timespec64* target) noexcept;

namespace {

_timespec64 SystemTimeAfter(unsigned int milliseconds) noexcept
{
    _timespec64 target = {};
    _timespec64_get(&target, TIME_UTC);
    long long nanoseconds = target.tv_nsec + static_cast<long long>(milliseconds % 1000) * 1000000;
    target.tv_sec += milliseconds / 1000 + nanoseconds / 1000000000;
    target.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
    return target;
}

} // namespace

extern "C" _Thrd_result __stdcall _Cnd_timedwait_for_unchecked(
    _Cnd_t condition, _Mtx_t mutex, unsigned int milliseconds) noexcept
{
    const _timespec64 target = SystemTimeAfter(milliseconds);
    return _Cnd_timedwait(condition, mutex, &target);
}
