// The host's main-thread work queue.
#include "MainLoop.h"

#include "SimControl.h"

#include <windows.h>

#include <algorithm>

namespace sim {

MainLoop& MainLoop::instance()
{
    static MainLoop loop;
    return loop;
}

// The loop is first used while the stand-in is being loaded (see DllMain), so the
// thread that loads it is the main thread.
MainLoop::MainLoop() : mainThreadId_(GetCurrentThreadId()) {}

bool MainLoop::isMainThread() const noexcept { return GetCurrentThreadId() == mainThreadId_; }

void MainLoop::post(std::function<void()> work, const void* owner)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.push_back(Item{std::move(work), owner});
    }
    arrived_.notify_all();
}

void MainLoop::dropOwner(const void* owner)
{
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.erase(std::remove_if(queue_.begin(), queue_.end(),
                                [owner](const Item& item) { return item.owner == owner; }),
                 queue_.end());
}

long MainLoop::ownedItems()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return static_cast<long>(std::count_if(queue_.begin(), queue_.end(),
                                           [](const Item& item) { return item.owner != nullptr; }));
}

bool MainLoop::runNext(std::chrono::steady_clock::time_point deadline)
{
    Item item;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        if (!arrived_.wait_until(lock, deadline, [this] { return !queue_.empty(); }))
            return false;
        item = std::move(queue_.front());
        queue_.pop_front();
    }
    item.work();
    return true;
}

bool IsMainThread() { return MainLoop::instance().isMainThread(); }

int RunPending()
{
    int count = 0;
    while (MainLoop::instance().runNext(std::chrono::steady_clock::now()))
        ++count;
    return count;
}

bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (done && done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        MainLoop::instance().runNext(deadline);
    }
}

}  // namespace sim
