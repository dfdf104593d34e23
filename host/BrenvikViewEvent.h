// The host's event interface: a source queues events from any thread with
// Synchronize, and the host delivers each one later to the source's
// OnSynchronize on its main thread.
#pragma once

#include "HostApi.h"

class HOST_API BrenvikViewEventSource {
public:
    BrenvikViewEventSource();
    BrenvikViewEventSource(const BrenvikViewEventSource&) = delete;
    BrenvikViewEventSource& operator=(const BrenvikViewEventSource&) = delete;

    // Runs on the host's main thread, once for each queued event.
    virtual void OnSynchronize(void* data) = 0;

    // Queues an event for this source and returns at once; callable from any thread.
    void Synchronize(void* data);

protected:
    // Not virtual: a source is always destroyed through its own type.
    ~BrenvikViewEventSource();
};

class HOST_API BrenvikViewEventInterface {
public:
    static BrenvikViewEventInterface* getInstance();

    void Register(BrenvikViewEventSource* source);
    // After this, nothing is delivered to the source, not even an event queued before.
    void Deregister(BrenvikViewEventSource* source);

private:
    BrenvikViewEventInterface() = default;
};
