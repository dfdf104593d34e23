// The watcher's one-shot stop signal. The main thread gives it; the watcher
// thread tests it without waiting. Giving it also wakes a watcher that waits at
// its completion port, with a packet of the signal's own, so that a stop costs
// the main thread one pause of the watcher rather than the rest of a port wait.
//
// The port belongs to the watcher thread, which makes and closes it. It shows the
// port here only while it is open, and the lock keeps the main thread from
// posting to a handle that is being closed (whose value the system may already
// have given to something else).
#pragma once

#include <windows.h>

#include <atomic>

class StopSignal {
public:
    StopSignal() noexcept = default;
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;

    // Main thread: gives the signal and wakes the port wait, if any. Safe to call
    // more than once.
    void Give() noexcept;
    // Any thread; never waits for the signal.
    bool IsGiven() const noexcept { return given_.load(); }

    // Watcher thread: the port that a stop wakes, from when it is made until just
    // before it is closed.
    void ShowPort(HANDLE port) noexcept;
    void HidePort() noexcept;

    // Whether a packet taken off the port is this signal's wake.
    static bool IsWake(ULONG_PTR key, const OVERLAPPED* overlapped) noexcept;

private:
    std::atomic<bool> given_{false};
    SRWLOCK portLock_ = SRWLOCK_INIT;
    HANDLE port_ = nullptr;
};
