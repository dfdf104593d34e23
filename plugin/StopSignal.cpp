// The watcher's one-shot stop signal, which also wakes the watcher's port wait.
#include "StopSignal.h"

namespace {

// A completion key that the directory read (key 0) never carries.
constexpr ULONG_PTR WAKE_KEY = 0x5354'4f50;  // "STOP"

}  // namespace

void StopSignal::Give() noexcept
{
    given_.store(true);
    AcquireSRWLockExclusive(&portLock_);
    if (port_)
        PostQueuedCompletionStatus(port_, 0, WAKE_KEY, nullptr);
    ReleaseSRWLockExclusive(&portLock_);
}

void StopSignal::ShowPort(HANDLE port) noexcept
{
    AcquireSRWLockExclusive(&portLock_);
    port_ = port;
    ReleaseSRWLockExclusive(&portLock_);
}

void StopSignal::HidePort() noexcept { ShowPort(nullptr); }

bool StopSignal::IsWake(ULONG_PTR key, const OVERLAPPED* overlapped) noexcept
{
    return key == WAKE_KEY && overlapped == nullptr;
}
