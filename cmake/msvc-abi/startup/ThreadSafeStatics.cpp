// Stands in for the runtime's thread-safe initialization of function-local
// statics, as the compiler calls it: a guard is 0 before, -1 during and then an
// epoch number after the initialization; a thread whose own epoch is older than
// a guard asks here. One lock and one condition variable serve the module.
#include <windows.h>

#include <limits.h>

namespace {

constexpr int uninitialized = 0;
constexpr int beingInitialized = -1;

SRWLOCK guardLock = SRWLOCK_INIT;
CONDITION_VARIABLE guardChanged = CONDITION_VARIABLE_INIT;

} // namespace

extern "C" {

int _Init_global_epoch = INT_MIN;
__declspec(thread) int _Init_thread_epoch = INT_MIN;

void __cdecl _Init_thread_header(int* guard) noexcept
{
    AcquireSRWLockExclusive(&guardLock);
    while (*guard == beingInitialized)
        SleepConditionVariableSRW(&guardChanged, &guardLock, INFINITE, 0);
    if (*guard == uninitialized)
        *guard = beingInitialized;
    else
        _Init_thread_epoch = _Init_global_epoch;
    ReleaseSRWLockExclusive(&guardLock);
}

void __cdecl _Init_thread_footer(int* guard) noexcept
{
    AcquireSRWLockExclusive(&guardLock);
    ++_Init_global_epoch;
    *guard = _Init_global_epoch;
    _Init_thread_epoch = _Init_global_epoch;
    ReleaseSRWLockExclusive(&guardLock);
    WakeAllConditionVariable(&guardChanged);
}

void __cdecl _Init_thread_abort(int* guard) noexcept
{
    AcquireSRWLockExclusive(&guardLock);
    *guard = uninitialized;
    ReleaseSRWLockExclusive(&guardLock);
    WakeAllConditionVariable(&guardChanged);
}
}
