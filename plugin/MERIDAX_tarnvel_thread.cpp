// The export watcher thread. It waits for directory changes through an I/O
// completion port with a one-second time-out, follows the changed names through
// the detection table, checks between waits whether it is to stop, and ends by
// itself once the catalog no longer runs. A stop wakes the port wait at once.
// When the table says "deliver", the delivery waits for the export's writer
// (WriterWait.h); whatever ends that wait, the export is delivered, unless the
// main thread has dropped it at shutdown.
#include "MERIDAX_tarnvel_thread.h"

#include "CatalogState.h"
#include "DirectoryWatch.h"
#include "ExportDetection.h"
#include "FileStamp.h"
#include "LibraryUnload.h"
#include "MERIDAX_plugin.h"
#include "WriterWait.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using Arrival = DirectoryWatch::Arrival;

constexpr DWORD PORT_WAIT_MS = 1000;
constexpr auto STOP_TEST_PAUSE = std::chrono::milliseconds(100);

std::atomic<long> pausesTaken{0};
std::atomic<long> pausesAtLastDeliveryDecision{0};

// A sleep that wakes early sleeps again for the rest.
void SleepUntil(Clock::time_point wakeUp) noexcept
{
    for (auto now = Clock::now(); now < wakeUp; now = Clock::now())
        Sleep(static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(wakeUp - now).count()));
}

}  // namespace

// What the thread watches with, and what it has seen.
struct MERIDAX_tarnvel_thread::Watch {
    MERIDAX_plugin& owner;
    Phase& phase;
    UtCString exportName;
    UtCString recordName;
    DirectoryWatch directory;
    WriterWait writer;
    // The export files' stamps when the last read completed: a read whose records
    // the system lost stands for the changes since then.
    ExportStamps stampsAtLastRead;
    bool deliveryDecided = false;

    Watch(MERIDAX_plugin& owner, StopSignal& stop, const ExportNames& names, Phase& phase)
        : owner(owner), phase(phase), exportName(names.fileName), recordName(names.fileName + ".txt"),
          directory(stop), writer(names.exportPath, names.recordPath, Clock::now())
    {
    }

    // A completed read: its names through the detection table, then the stamps
    // that were looked at when it came. True when the table says "deliver".
    bool TakeRead(Arrival arrival)
    {
        Clock::time_point now = Clock::now();
        ExportStamps stamps = writer.ReadStamps();
        std::vector<UtCString> names =
            arrival == Arrival::Changes ? directory.ChangedNames() : NamesOfLostChanges(stamps);
        stampsAtLastRead = stamps;
        for (const UtCString& name : names)
            Examine(name, now);
        writer.SawStamps(stamps, now);
        return deliveryDecided;
    }

    // The system lost the read's records: more changes came than the buffer holds,
    // as a writer that rewrites its file again and again makes them. The names are
    // gone, but each export file written since the last read counts as a record
    // of its name (the geometry file first, as a catalog writes it), and the lost
    // buffer as one record more of some other file. Written means another stamp
    // than the watcher itself saw then, never a time newer than the clock: the
    // clock may be set back, a share's server keeps its own, and stamps may be
    // coarse.
    std::vector<UtCString> NamesOfLostChanges(const ExportStamps& now) const
    {
        std::vector<UtCString> names;
        if (WrittenSince(now.geometry, stampsAtLastRead.geometry))
            names.push_back(exportName);
        if (WrittenSince(now.record, stampsAtLastRead.record))
            names.push_back(recordName);
        names.emplace_back();
        return names;
    }

    // One change record. Once the table has said "deliver" it is done; the
    // records after that one still tell the writer wait of changes to the files.
    void Examine(const UtCString& changedName, Clock::time_point now)
    {
        if (changedName.Contains(exportName))
            writer.SawChangeRecord(now);
        if (!deliveryDecided && AdvanceExportDetection(changedName, exportName, recordName)) {
            deliveryDecided = true;
            pausesAtLastDeliveryDecision = pausesTaken.load();
            writer.Decided(now);
            DeliveryPhase none = DeliveryPhase::None;
            phase.compare_exchange_strong(none, DeliveryPhase::Waiting);
        }
    }

    // The handles go first, so that the main thread finds the export files free
    // and no read of this watcher left when it handles the event. Until the event
    // is queued the phase tells the main thread that a delivery waits, so that a
    // command given meanwhile is held behind this export. Waiting turns into
    // Queuing in one step: a delivery dropped before it is never handed over.
    void Deliver()
    {
        directory.Close();
        DeliveryPhase waiting = DeliveryPhase::Waiting;
        if (phase.compare_exchange_strong(waiting, DeliveryPhase::Queuing))
            owner.Synchronize(nullptr);
        ExportDetectionState = 0;
        DeliveryPhase queuing = DeliveryPhase::Queuing;
        phase.compare_exchange_strong(queuing, DeliveryPhase::None);
    }

    bool CatalogGone() const { return owner.FindCatalogProcesses(Query) == NotRunning; }
};

MERIDAX_tarnvel_thread::MERIDAX_tarnvel_thread(MERIDAX_plugin& owner)
{
    try {
        ExportNames names{owner.exportDir, owner.exportFileName, owner.exportFile, owner.recordFile};
        workerThread = std::make_unique<LibraryThread>(
            [&owner, names, this] { ThreadBody(owner, names, stopSignal, deliveryPhase); });
    } catch (...) {  // NOLINT(bugprone-empty-catch): a watcher without a thread watches nothing
    }
}

// Under the loader lock (an unload without shutdown) the thread's exit cannot be
// waited for, as it needs that lock; the thread is waited for until it runs no
// more of the library's code instead. At process exit the other threads are gone
// already, possibly in the middle of anything: nothing is touched.
MERIDAX_tarnvel_thread::~MERIDAX_tarnvel_thread()
{
    try {
        tarnvel::UnloadKind unload = tarnvel::CurrentUnload();
        if (unload == tarnvel::UnloadKind::ProcessExit || !workerThread)
            return;
        stopSignal.Give();
        if (unload == tarnvel::UnloadKind::None)
            workerThread->Join();
        else
            workerThread->AwaitOut();
    } catch (...) {  // NOLINT(bugprone-empty-catch): a stop that fails leaves nothing to do
    }
}

bool MERIDAX_tarnvel_thread::HasEnded() const noexcept
{
    return !workerThread || workerThread->HasEnded();
}

bool MERIDAX_tarnvel_thread::DeliveryWaiting() const noexcept
{
    DeliveryPhase now = deliveryPhase.load();
    return now == DeliveryPhase::Waiting || now == DeliveryPhase::Queuing;
}

void MERIDAX_tarnvel_thread::DropDelivery() noexcept { deliveryPhase.store(DeliveryPhase::Dropped); }

void MERIDAX_tarnvel_thread::ThreadBody(MERIDAX_plugin& owner, const ExportNames& names, StopSignal& stop,
                                        Phase& phase) noexcept
{
    try {
        WatchExportDirectory(owner, names, stop, phase);
    } catch (...) {  // NOLINT(bugprone-empty-catch): the thread ends quietly whatever went wrong
    }
}

// Whatever ended the wait for the writer (the writer done, the bound, a stop, a
// gone catalog, an error), an export that the table has decided is delivered:
// the table alone would have delivered it already.
void MERIDAX_tarnvel_thread::WatchExportDirectory(MERIDAX_plugin& owner, const ExportNames& names,
                                                  StopSignal& stop, Phase& phase)
{
    Watch watch(owner, stop, names, phase);
    if (!watch.directory.Open(names.directory))
        return;
    try {
        WaitForExport(watch, stop);
    } catch (...) {  // NOLINT(bugprone-empty-catch): a decided export is delivered below
    }
    if (watch.deliveryDecided)
        watch.Deliver();
}

// A packet taken off the port is the directory read's completion, the stop
// signal's wake, or nothing (the wait timed out, the read failed, or there is no
// port). A wake goes straight to the stop test, which ends the loop; it is no
// change record and no time-out.
void MERIDAX_tarnvel_thread::WaitForExport(Watch& watch, const StopSignal& stop)
{
    if (IsStopRequested(stop, &watch.writer))
        return;
    // The first read reports the changes from its start on.
    watch.stampsAtLastRead = watch.writer.ReadStamps();
    for (;;) {
        if (!watch.directory.StartReadIfIdle())
            return;
        Arrival arrival = watch.directory.Wait(PORT_WAIT_MS);
        if (arrival == Arrival::Changes || arrival == Arrival::LostChanges) {
            if (watch.TakeRead(arrival)) {
                WaitForWriter(watch.directory, watch.writer, watch.exportName, stop, watch.owner);
                return;
            }
        } else if (arrival != Arrival::Wake && watch.CatalogGone()) {
            return;
        }
        if (IsStopRequested(stop, &watch.writer))
            return;
    }
}

long MERIDAX_tarnvel_thread::PausesTaken() noexcept { return pausesTaken; }

long MERIDAX_tarnvel_thread::PausesAtLastDeliveryDecision() noexcept { return pausesAtLastDeliveryDecision; }

bool MERIDAX_tarnvel_thread::IsStopRequested(const StopSignal& stop, WriterWait* looks) noexcept
{
    Clock::time_point start = Clock::now();
    Clock::time_point wakeUp = start + STOP_TEST_PAUSE;
    if (looks && ExportDetectionState != 0) {
        for (Clock::time_point look = start + WriterWait::LookInterval; look < wakeUp;
             look += WriterWait::LookInterval) {
            SleepUntil(look);
            looks->LookAtStamps(Clock::now());
        }
    }
    SleepUntil(wakeUp);
    ++pausesTaken;
    return stop.IsGiven();
}
