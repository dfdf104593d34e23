// The host's event interface. Registration and queuing share one lock, so an
// event queued by another thread either reaches the queue before Deregister
// (which then drops it) or is refused; after Deregister nothing is delivered.
#include "BrenvikViewEvent.h"

#include "MainLoop.h"
#include "SimControl.h"

#include <atomic>
#include <mutex>
#include <set>

namespace {

std::mutex registryMutex;
std::set<BrenvikViewEventSource*> registeredSources;
std::atomic<long> deliveredEvents{0};
std::atomic<bool> pluginTeardown{false};
std::atomic<long> eventsQueuedInTeardown{0};
// Guarded by registryMutex.
sim::HandOverTimes handOverTimes;

void deliver(BrenvikViewEventSource* source, void* data)
{
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        handOverTimes.eventDelivered = std::chrono::steady_clock::now();
    }
    source->OnSynchronize(data);
    ++deliveredEvents;
}

}  // namespace

BrenvikViewEventSource::BrenvikViewEventSource() = default;
BrenvikViewEventSource::~BrenvikViewEventSource() = default;

void BrenvikViewEventSource::Synchronize(void* data)
{
    if (pluginTeardown)
        ++eventsQueuedInTeardown;
    std::lock_guard<std::mutex> lock(registryMutex);
    if (registeredSources.count(this) == 0)
        return;
    handOverTimes.eventQueued = std::chrono::steady_clock::now();
    sim::MainLoop::instance().post([this, data] { deliver(this, data); }, this);
}

BrenvikViewEventInterface* BrenvikViewEventInterface::getInstance()
{
    static BrenvikViewEventInterface eventInterface;
    return &eventInterface;
}

void BrenvikViewEventInterface::Register(BrenvikViewEventSource* source)
{
    std::lock_guard<std::mutex> lock(registryMutex);
    registeredSources.insert(source);
}

void BrenvikViewEventInterface::Deregister(BrenvikViewEventSource* source)
{
    std::lock_guard<std::mutex> lock(registryMutex);
    registeredSources.erase(source);
    sim::MainLoop::instance().dropOwner(source);
}

namespace sim {

long DeliveredEvents() { return deliveredEvents; }

long QueuedEvents() { return MainLoop::instance().ownedItems(); }

void SetPluginTeardown(bool inTeardown) { pluginTeardown = inTeardown; }

long EventsQueuedInTeardown() { return eventsQueuedInTeardown; }

HandOverTimes LastHandOverTimes()
{
    std::lock_guard<std::mutex> lock(registryMutex);
    return handOverTimes;
}

long RegisteredEventSources()
{
    std::lock_guard<std::mutex> lock(registryMutex);
    return static_cast<long>(registeredSources.size());
}

}  // namespace sim
