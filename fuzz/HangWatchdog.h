// A thread that watches the main loop: when one input has been running longer than
// the time limit, it saves that input as a hang and ends the process, because the
// loop itself may never come back to notice. The main thread marks each input's
// start and end; the watchdog thread only reads those marks.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

class HangWatchdog {
public:
    explicit HangWatchdog(std::chrono::milliseconds limit);
    ~HangWatchdog();
    HangWatchdog(const HangWatchdog&) = delete;
    HangWatchdog& operator=(const HangWatchdog&) = delete;

    void InputStarted() noexcept;
    void InputEnded() noexcept;

private:
    void Watch();

    using Clock = std::chrono::steady_clock;
    std::chrono::milliseconds limit_;
    // Ticks of the running input's start; 0 while no input runs.
    std::atomic<Clock::rep> startedAt_{0};
    std::mutex mutex_;
    std::condition_variable stopSignal_;
    bool stopping_ = false;
    std::thread thread_;
};
