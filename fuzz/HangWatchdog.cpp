// See HangWatchdog.h.
#include "HangWatchdog.h"

#include "FailureExit.h"

#include <algorithm>
#include <cstdio>

HangWatchdog::HangWatchdog(std::chrono::milliseconds limit) : limit_(limit), thread_([this] { Watch(); }) {}

HangWatchdog::~HangWatchdog()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stopSignal_.notify_one();
    thread_.join();
}

void HangWatchdog::InputStarted() noexcept
{
    Clock::rep now = Clock::now().time_since_epoch().count();
    startedAt_ = now == 0 ? 1 : now;
}

void HangWatchdog::InputEnded() noexcept { startedAt_ = 0; }

void HangWatchdog::Watch()
{
    // Checks a few times per limit, so a hang is caught within about a quarter
    // of the limit after it is reached.
    auto period = std::max(limit_ / 4, std::chrono::milliseconds(10));
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopSignal_.wait_for(lock, period, [this] { return stopping_; })) {
        Clock::rep started = startedAt_;
        if (started == 0)
            continue;
        auto running = Clock::now() - Clock::time_point(Clock::duration(started));
        if (running > limit_) {
            char detail[128];
            std::snprintf(detail, sizeof detail, "one input has run for more than %lld ms",
                          static_cast<long long>(limit_.count()));
            SaveAndTerminate("hang", detail, 4);
        }
    }
}
