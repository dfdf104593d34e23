// A thread of this library that can be waited for safely in every moment of its
// life, also while the library is being unloaded.
//
// The trouble it answers: the unloading code runs under the loader lock, and a
// thread needs that lock both to get through its start-up and to exit. So the
// constructor returns only once the thread runs its body (its start-up is behind
// it), and the thread always ends by setting its "out" event and waiting
// alertably in one system call, with the system's own ExitThread queued to it as
// an APC: after "out" is set the thread runs no instruction of this library, and
// whoever holds the loader lock may wait for "out" and then let the library go.
// Everything the body made is gone before "out" is set, so nothing leaks.
//
// Threads: the owner (the host's main thread) constructs, joins and destroys;
// the new thread runs the body.
#pragma once

#include "UniqueHandle.h"

#include <functional>

class LibraryThread {
public:
    // Starts a thread that runs `body`, which must not throw, and returns once it
    // runs. When the system refuses the thread (or its events), there is none.
    explicit LibraryThread(std::function<void()> body) noexcept;
    // The thread must have been waited for (Join or AwaitOut), or have never run.
    ~LibraryThread() = default;
    LibraryThread(const LibraryThread&) = delete;
    LibraryThread& operator=(const LibraryThread&) = delete;

    // True once the body has returned (the thread may still be exiting), or when
    // there is no thread.
    bool HasEnded() const noexcept;
    // Waits until the thread has exited. Not under the loader lock.
    void Join() noexcept;
    // Waits until the thread runs no more code of this library; for the loader
    // lock's holder, who must not wait for the thread's exit itself.
    void AwaitOut() noexcept;

private:
    static DWORD WINAPI Entry(LPVOID self) noexcept;
    [[noreturn]] void EndThroughTheSystem() noexcept;

    std::function<void()> body_;
    UniqueHandle running_;
    UniqueHandle out_;
    UniqueHandle thread_;
};
