// How the watcher thread ends without ever running code of an unloaded library.
#include "ThreadEnding.h"

namespace {

// A thread that already chose to return normally may still be running the thread
// runtime's exit code; once it has reached the system's thread exit it waits
// there for the loader lock and runs nothing of ours. This is how long it is
// given to get there.
constexpr DWORD RETURNING_THREAD_GRACE_MS = 50;

}  // namespace

ThreadEnding::ThreadEnding()
    : finished_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      neverSignalled_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
}

void ThreadEnding::Finish() noexcept
{
    int expected = Running;
    if (phase_.compare_exchange_strong(expected, Returning))
        return;
    // The APC is the system's own ExitThread, not a function of ours: it runs
    // inside the alertable wait, right after the event is set.
    QueueUserAPC(reinterpret_cast<PAPCFUNC>(reinterpret_cast<void*>(&ExitThread)), GetCurrentThread(), 0);
    SignalObjectAndWait(finished_.get(), neverSignalled_.get(), INFINITE, TRUE);
}

void ThreadEnding::AwaitExitForUnload(HANDLE thread) noexcept
{
    int expected = Running;
    if (phase_.compare_exchange_strong(expected, UnloadRequested)) {
        WaitForSingleObject(finished_.get(), INFINITE);
        return;
    }
    WaitForSingleObject(thread, RETURNING_THREAD_GRACE_MS);
}
