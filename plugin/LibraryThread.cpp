// A thread of this library that ends through the system, so that it can be waited
// for safely in every moment of its life.
#include "LibraryThread.h"

#include <windows.h>

namespace {

UniqueHandle NewManualResetEvent() noexcept
{
    return UniqueHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

}  // namespace

LibraryThread::LibraryThread(std::function<void()> body) noexcept
    : body_(std::move(body)), running_(NewManualResetEvent()), out_(NewManualResetEvent())
{
    if (!running_ || !out_)
        return;
    thread_.reset(CreateThread(nullptr, 0, &LibraryThread::Entry, this, 0, nullptr));
    // Past this wait the thread's start-up in the loader is over, so an unload that
    // follows never waits for a thread that needs the loader lock to begin.
    if (thread_)
        WaitForSingleObject(running_.get(), INFINITE);
}

bool LibraryThread::HasEnded() const noexcept
{
    return !thread_ || WaitForSingleObject(out_.get(), 0) == WAIT_OBJECT_0;
}

void LibraryThread::Join() noexcept
{
    if (thread_)
        WaitForSingleObject(thread_.get(), INFINITE);
}

void LibraryThread::AwaitOut() noexcept
{
    if (thread_)
        WaitForSingleObject(out_.get(), INFINITE);
}

DWORD WINAPI LibraryThread::Entry(LPVOID self) noexcept
{
    auto& thread = *static_cast<LibraryThread*>(self);
    SetEvent(thread.running_.get());
    thread.body_();
    thread.EndThroughTheSystem();
}

// The APC is the system's ExitThread, not a function of ours, and setting "out"
// and entering the alertable wait are one call: from the moment "out" is set
// only system code runs on this thread. Waiting on the thread's own handle never
// ends by itself, so the APC is the only way out.
void LibraryThread::EndThroughTheSystem() noexcept
{
    HANDLE out = out_.get();
    // The generic function type in between says that the types differ on purpose.
    auto exitThread = reinterpret_cast<PAPCFUNC>(reinterpret_cast<void (*)()>(&ExitThread));
    if (QueueUserAPC(exitThread, GetCurrentThread(), 0))
        SignalObjectAndWait(out, GetCurrentThread(), INFINITE, TRUE);
    else
        SetEvent(out);
    ExitThread(0);
}
