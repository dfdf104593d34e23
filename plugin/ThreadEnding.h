// How the watcher thread ends without ever running code of an unloaded library.
//
// When the library is unloaded while its watcher thread lives, the unloading code
// runs under the loader lock: it cannot join the thread (a thread's exit needs
// that lock), and once it returns the library's code is gone. So the unloading
// code asks the thread to end "inside the system": the thread queues ExitThread
// as an APC to itself and then sets `finished` and waits alertably in one call,
// SignalObjectAndWait. Setting the event and running the APC happen inside the
// system, so no instruction of the library runs after the unloading code has
// been told that the thread is out. Without an unload the thread simply returns.
#pragma once

#include "UniqueHandle.h"

#include <atomic>

class ThreadEnding {
public:
    ThreadEnding();
    ThreadEnding(const ThreadEnding&) = delete;
    ThreadEnding& operator=(const ThreadEnding&) = delete;

    // Watcher thread, after every local of its work is gone. Returns when the
    // thread may end normally; does not return when an unload asked for the end.
    void Finish() noexcept;

    // Unloading code (main thread, loader lock held): returns once the thread runs
    // no more code of the library. `thread` is the thread's handle.
    void AwaitExitForUnload(HANDLE thread) noexcept;

    // True once the thread has finished its work (it may still be exiting).
    bool Finished() const noexcept { return phase_ != Running; }

private:
    enum Phase : int { Running, Returning, UnloadRequested };

    std::atomic<int> phase_{Running};
    UniqueHandle finished_;
    UniqueHandle neverSignalled_;
};
