// The export watcher thread. It waits for directory changes through an I/O
// completion port with a one-second time-out, follows the changed names until the
// export is complete, checks between waits whether it is to stop, and ends by
// itself once the catalog no longer runs. A stop wakes the port wait at once.
// When the names say "deliver", the delivery waits until the export's files have
// been quiet for a whole pause and are no longer open for writing: the look at the
// files would refuse a writer's open for as long as it lasts, so it is made only
// when the writer has stopped changing them.
#include "MERIDAX_tarnvel_thread.h"

#include "ExportDetection.h"
#include "FileBeingWritten.h"
#include "FileChangedSince.h"
#include "LibraryUnload.h"
#include "MERIDAX_plugin.h"
#include "UniqueHandle.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstddef>

namespace {

constexpr DWORD CHANGE_BUFFER_SIZE = 8192;
constexpr DWORD NOTIFY_FILTER = FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION;
constexpr DWORD PORT_WAIT_MS = 1000;
// While a delivery waits, the port wait is all but cut: closing a file need not
// make a change record, so a time-out may be the only thing that brings the
// watcher back to look. The pause before it is the quiet span that counts: the
// system keeps the changes made during it for the next read, which completes at
// once with them, so the wait need not be long for them to arrive.
constexpr DWORD PENDING_PORT_WAIT_MS = 1;
constexpr auto STOP_TEST_PAUSE = std::chrono::milliseconds(100);
// A change record's fixed part: the next-entry offset, the action and the name's
// length; the name follows. (sizeof the structure counts one name character and
// the padding after it, which a record with a one-character name need not have.)
constexpr DWORD CHANGE_RECORD_HEADER = offsetof(FILE_NOTIFY_INFORMATION, FileName);

std::atomic<long> pausesTaken{0};
std::atomic<long> deliveryChecks{0};
std::atomic<long> deliveriesWithReadOutstanding{0};
std::atomic<long> readsLeftOutstanding{0};

}  // namespace

// Everything the thread opens, and the buffer and overlapped record of the
// directory read. A read still outstanding is cancelled and waited for before
// they go, so the system never writes into freed memory.
struct MERIDAX_tarnvel_thread::Watch {
    MERIDAX_plugin& owner;
    StopSignal& stop;
    UtCString exportName;
    UtCString recordName;
    UtCString exportPath;
    UtCString recordPath;
    UniqueHandle port;
    UniqueHandle directory;
    alignas(DWORD) BYTE buffer[CHANGE_BUFFER_SIZE];
    OVERLAPPED overlapped{};
    bool readOutstanding = false;
    // When the records of the last completed read were taken: the next read
    // reports the changes since then.
    FILETIME changesTakenUntil{};
    // The names said "deliver"; the delivery waits for the files to be quiet
    // and closed.
    bool deliveryPending = false;

    Watch(MERIDAX_plugin& owner, StopSignal& stop, const ExportNames& names)
        : owner(owner), stop(stop), exportName(names.fileName), recordName(names.fileName + ".txt"),
          exportPath(names.exportPath), recordPath(names.recordPath)
    {
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    ~Watch()
    {
        CloseHandles();
        if (readOutstanding)
            ++readsLeftOutstanding;
    }

    void OpenPort()
    {
        port.reset(CreateIoCompletionPort(directory.get(), nullptr, 0, 1));
        if (port)
            stop.ShowPort(port.get());
    }

    // Every way out closes here: an outstanding read is cancelled and waited for
    // while the buffer and the overlapped record are still there. The stop signal
    // stops posting to the port before it is closed.
    void CloseHandles()
    {
        CancelRead();
        directory.reset();
        stop.HidePort();
        port.reset();
    }

    void CancelRead()
    {
        if (!readOutstanding || !directory)
            return;
        DWORD ignored = 0;
        CancelIoEx(directory.get(), &overlapped);
        GetOverlappedResult(directory.get(), &overlapped, &ignored, TRUE);
        readOutstanding = false;
    }

    bool StartRead()
    {
        overlapped = OVERLAPPED{};
        readOutstanding = ReadDirectoryChangesW(directory.get(), buffer, sizeof buffer, FALSE,
                                                NOTIFY_FILTER, nullptr, &overlapped, nullptr);
        if (!readOutstanding)
            GetLastError();
        return readOutstanding;
    }

    // Walks the records of a completed read; true when the watch is over.
    bool ExamineChanges(DWORD byteCount)
    {
        bool exportChanged = false;
        DWORD offset = 0;
        for (;;) {
            if (offset + CHANGE_RECORD_HEADER > byteCount)
                break;
            auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + offset);
            DWORD nameEnd = offset + CHANGE_RECORD_HEADER + record->FileNameLength;
            if (nameEnd > byteCount)
                break;
            ApplyChange(UtCString(record->FileName, record->FileNameLength / sizeof(WCHAR)), exportChanged);
            if (record->NextEntryOffset == 0)
                break;
            offset += record->NextEntryOffset;
        }
        return SettleDelivery(exportChanged);
    }

    // The system lost the read's records: more changes came than the buffer
    // holds, as a writer that rewrites its file again and again makes them. The
    // names are gone, but each export file that was written meanwhile counts as a
    // record of its name (the geometry file first, as a catalog writes it), and
    // the lost buffer as one record more of some other file. True when the watch
    // is over.
    bool ExamineLostChanges(const FILETIME& since)
    {
        bool exportChanged = false;
        if (FileChangedSince(exportPath, since))
            ApplyChange(exportName, exportChanged);
        if (FileChangedSince(recordPath, since))
            ApplyChange(recordName, exportChanged);
        ApplyChange(UtCString(), exportChanged);
        return SettleDelivery(exportChanged);
    }

    // One change record through the detection table. Once the names say
    // "deliver" the table is done; the records are still looked at for the
    // export's names, since a change of them says the writer may be at work.
    void ApplyChange(const UtCString& changedName, bool& exportChanged)
    {
        exportChanged = exportChanged || changedName.Contains(exportName);
        if (!deliveryPending && AdvanceExportDetection(changedName, exportName, recordName))
            deliveryPending = true;
    }

    // After a read: a pending delivery is looked at once the read brought no
    // change of the export's files. True when it delivered.
    bool SettleDelivery(bool exportChanged)
    {
        return deliveryPending && !exportChanged && DeliverIfComplete();
    }

    // The files have been quiet since the last read: delivers unless one is still
    // open for writing. Once its writer has closed it an export is delivered,
    // whether or not the catalog still runs. True when it delivered.
    bool DeliverIfComplete()
    {
        bool beingWritten = IsBeingWritten(exportPath) || IsBeingWritten(recordPath);
        ++deliveryChecks;
        if (beingWritten)
            return false;
        Deliver();
        return true;
    }

    DWORD PortWait() const { return deliveryPending ? PENDING_PORT_WAIT_MS : PORT_WAIT_MS; }

    // The handles go first, so that the main thread finds the export files free
    // and no read of this watcher left when it handles the event.
    void Deliver()
    {
        if (readOutstanding)
            ++deliveriesWithReadOutstanding;
        CloseHandles();
        owner.Synchronize(nullptr);
        ExportDetectionState = 0;
    }

    bool CatalogGone() const { return owner.FindCatalogProcesses(Query) == NotRunning; }
};

MERIDAX_tarnvel_thread::MERIDAX_tarnvel_thread(MERIDAX_plugin& owner)
{
    try {
        ExportNames names{owner.exportDir, owner.exportFileName, owner.exportFile, owner.recordFile};
        workerThread = std::make_unique<LibraryThread>(
            [&owner, names, this] { ThreadBody(owner, names, stopSignal); });
    } catch (...) {
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
    } catch (...) {
    }
}

bool MERIDAX_tarnvel_thread::HasEnded() const noexcept
{
    return !workerThread || workerThread->HasEnded();
}

void MERIDAX_tarnvel_thread::ThreadBody(MERIDAX_plugin& owner, const ExportNames& names,
                                        StopSignal& stop) noexcept
{
    try {
        WatchExportDirectory(owner, names, stop);
    } catch (...) {
    }
}

void MERIDAX_tarnvel_thread::WatchExportDirectory(MERIDAX_plugin& owner, const ExportNames& names,
                                                  StopSignal& stop)
{
    Watch watch(owner, stop, names);
    watch.directory.reset(CreateFileA(names.directory.c_str(), FILE_LIST_DIRECTORY,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!watch.directory)
        return;
    watch.OpenPort();
    WaitForExport(watch, stop);
}

// A packet taken off the port is the directory read's completion, the stop
// signal's wake, or nothing (the wait timed out or the port failed). A wake goes
// straight to the stop test, which ends the loop. A time-out means the files were
// quiet through the pause and the wait, so a pending delivery is looked at first:
// a catalog that closed its files and ended still has its export delivered.
void MERIDAX_tarnvel_thread::WaitForExport(Watch& watch, const StopSignal& stop)
{
    if (IsStopRequested(stop))
        return;
    watch.changesTakenUntil = SystemTimeNow();
    for (;;) {
        if (!watch.readOutstanding && !watch.StartRead())
            return;

        DWORD byteCount = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* packet = nullptr;
        BOOL succeeded = GetQueuedCompletionStatus(watch.port.get(), &byteCount, &key, &packet,
                                                   watch.PortWait());
        bool readCompleted = packet == &watch.overlapped;
        FILETIME changesSince = watch.changesTakenUntil;
        if (readCompleted) {
            watch.readOutstanding = false;
            watch.changesTakenUntil = SystemTimeNow();
        }

        // A completion of zero bytes means the system lost the changes.
        if (readCompleted && succeeded) {
            if (byteCount > 0 ? watch.ExamineChanges(byteCount) : watch.ExamineLostChanges(changesSince))
                return;
        } else if (!(succeeded && StopSignal::IsWake(key, packet))) {
            if (watch.deliveryPending && watch.DeliverIfComplete())
                return;
            if (watch.CatalogGone())
                return;
        }
        if (IsStopRequested(stop))
            return;
    }
}

long MERIDAX_tarnvel_thread::PausesTaken() noexcept { return pausesTaken; }

long MERIDAX_tarnvel_thread::DeliveryChecks() noexcept { return deliveryChecks; }

long MERIDAX_tarnvel_thread::DeliveriesWithReadOutstanding() noexcept
{
    return deliveriesWithReadOutstanding;
}

long MERIDAX_tarnvel_thread::ReadsLeftOutstanding() noexcept { return readsLeftOutstanding; }

bool MERIDAX_tarnvel_thread::IsStopRequested(const StopSignal& stop) noexcept
{
    auto wakeUp = std::chrono::steady_clock::now() + STOP_TEST_PAUSE;
    for (auto now = std::chrono::steady_clock::now(); now < wakeUp; now = std::chrono::steady_clock::now())
        Sleep(static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(wakeUp - now).count()));
    ++pausesTaken;
    return stop.IsGiven();
}
