// The host's main-thread work queue. Any thread may post work; only the main
// thread (the thread that loaded the host stand-in) runs it. Each item may carry
// an owner, so that all work of an owner can be dropped at once.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace sim {

class MainLoop {
public:
    static MainLoop& instance();

    void post(std::function<void()> work, const void* owner);
    void dropOwner(const void* owner);
    // Items queued with an owner (events) and not yet run or dropped.
    long ownedItems();

    // Takes the next item, waiting for one until the deadline; runs it on this
    // thread. False when nothing came.
    bool runNext(std::chrono::steady_clock::time_point deadline);

    bool isMainThread() const noexcept;

private:
    MainLoop();

    struct Item {
        std::function<void()> work;
        const void* owner;
    };

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<Item> queue_;
    unsigned long mainThreadId_;
};

}  // namespace sim
