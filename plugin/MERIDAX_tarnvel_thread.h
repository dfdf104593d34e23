// The export watcher: owns one background thread that watches the export
// directory for the files of the expected export and, once the detection table
// says they are there and their writer is done with them (WriterWait.h), queues
// an event on the plug-in object (Synchronize), which brings the work to the
// host's main thread.
//
// Threads: the main thread constructs and destroys the watcher; the watcher
// thread runs WatchExportDirectory on copies of the export directory, name and
// paths taken before it starts. After the start they share the stop signal and
// the phase of a decided delivery: the main thread asks whether one waits for
// its writer (a command then waits behind it) and drops it at shutdown.
#pragma once

#include "LibraryThread.h"
#include "StopSignal.h"
#include "UtCString.h"

#include <atomic>
#include <memory>

class MERIDAX_plugin;
class WriterWait;

class MERIDAX_tarnvel_thread {
public:
    // Starts the thread on copies of the owner's export directory and file name,
    // and returns once it runs. A thread that cannot be started leaves a watcher
    // that watches nothing.
    explicit MERIDAX_tarnvel_thread(MERIDAX_plugin& owner);
    // Gives the stop signal, which wakes a waiting thread, and waits until the
    // thread has ended. Main thread only.
    virtual ~MERIDAX_tarnvel_thread();
    MERIDAX_tarnvel_thread(const MERIDAX_tarnvel_thread&) = delete;
    MERIDAX_tarnvel_thread& operator=(const MERIDAX_tarnvel_thread&) = delete;

    // True once the thread has ended its watch (by delivery, stop, a gone catalog
    // or an unusable directory), or when it never started.
    bool HasEnded() const noexcept;

    // Whether the detection table has decided a delivery that has not yet been
    // handed to the host (it waits for the export's writer, or is being queued).
    bool DeliveryWaiting() const noexcept;
    // At shutdown or unload, before the watcher is destroyed: a delivery that is
    // decided, now or later, is not handed to the host, whose event would only be
    // dropped (and at an unload the host must not be called while the loader
    // lock is held). The detection still starts afresh. An event whose queuing
    // has already begun goes to the host, which drops it at deregistration.
    void DropDelivery() noexcept;

    // Sleeps 100 ms, then tells without waiting whether the stop signal was given.
    // While an export is under way, the export files' stamps are looked at through
    // the pause for `looks`, when given.
    static bool IsStopRequested(const StopSignal& stop, WriterWait* looks = nullptr) noexcept;

    // How many 100 ms pauses all watchers have finished so far: measurements use it
    // to tell the watcher's fixed pacing from the time its work takes, and tests to
    // see that a pause is over.
    static long PausesTaken() noexcept;
    // The pause count when the detection table last said "deliver": the pauses
    // that the table alone needed on a road, whatever the wait for the writer
    // added after it.
    static long PausesAtLastDeliveryDecision() noexcept;

    // None until the table decides; Waiting from the decision until the watcher
    // starts to queue the event; Queuing while it calls the host for that; Dropped
    // for good once the main thread drops the delivery. Waiting turns into Queuing
    // or Dropped in one step, so a dropped delivery is never queued.
    enum class DeliveryPhase { None, Waiting, Queuing, Dropped };

private:
    struct Watch;
    // The owner's export directory, file name and the two paths the import reads,
    // copied on the main thread.
    struct ExportNames {
        UtCString directory;
        UtCString fileName;
        UtCString exportPath;
        UtCString recordPath;
    };

    using Phase = std::atomic<DeliveryPhase>;

    static void ThreadBody(MERIDAX_plugin& owner, const ExportNames& names, StopSignal& stop,
                           Phase& phase) noexcept;
    static void WatchExportDirectory(MERIDAX_plugin& owner, const ExportNames& names, StopSignal& stop,
                                     Phase& phase);
    static void WaitForExport(Watch& watch, const StopSignal& stop);

    std::unique_ptr<LibraryThread> workerThread;
    StopSignal stopSignal;
    Phase deliveryPhase{DeliveryPhase::None};
};
