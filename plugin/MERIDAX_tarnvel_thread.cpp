// The export watcher thread. It waits for directory changes through an I/O
// completion port with a one-second time-out, follows the changed names until the
// export is complete, checks between waits whether it is to stop, and ends by
// itself once the catalog no longer runs. A stop wakes the port wait at once.
// When the names say "deliver" but the catalog still has one of the export's files
// open for writing, the delivery waits, and the watcher looks again at each change
// record and each port time-out until the writer has closed it.
#include "MERIDAX_tarnvel_thread.h"

#include "ExportDetection.h"
#include "FileBeingWritten.h"
#include "LibraryUnload.h"
#include "MERIDAX_plugin.h"
#include "UniqueHandle.h"
#include "UtSystem.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstddef>

namespace {

constexpr DWORD CHANGE_BUFFER_SIZE = 8192;
constexpr DWORD NOTIFY_FILTER = FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION;
constexpr DWORD PORT_WAIT_MS = 1000;
// While a delivery waits for a writer, the port wait is short: closing a file need
// not make a change record, so a time-out may be the only thing that brings the
// watcher back to look again. With the pause after it, a closed file is seen
// within about 200 ms instead of 1.1 s.
constexpr DWORD PENDING_PORT_WAIT_MS = 100;
constexpr auto STOP_TEST_PAUSE = std::chrono::milliseconds(100);
// A change record's fixed part: the next-entry offset, the action and the name's
// length; the name follows. (sizeof the structure counts one name character and
// the padding after it, which a record with a one-character name need not have.)
constexpr DWORD CHANGE_RECORD_HEADER = offsetof(FILE_NOTIFY_INFORMATION, FileName);

// Whether the catalog was just found running (at a port time-out) or not looked
// for (at a change record).
enum class ProcessCheck { NotDone, JustDone };

std::atomic<long> pausesTaken{0};
std::atomic<long> deliveryChecks{0};

UtCString JoinedPath(const UtCString& directory, const UtCString& fileName)
{
    char joined[UT_MAX_PATH] = {};
    UtJoinPathFile(directory, fileName, joined);
    return joined;
}

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
    // The names said "deliver", but an export file was still being written.
    bool deliveryPending = false;

    // The paths are joined as the plug-in object joins them for the import.
    Watch(MERIDAX_plugin& owner, StopSignal& stop, const UtCString& directory,
          const UtCString& fileName)
        : owner(owner), stop(stop), exportName(fileName), recordName(fileName + ".txt"),
          exportPath(JoinedPath(directory, exportName)),
          recordPath(JoinedPath(directory, recordName))
    {
    }
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;

    ~Watch()
    {
        if (readOutstanding && directory) {
            DWORD ignored = 0;
            CancelIoEx(directory.get(), &overlapped);
            GetOverlappedResult(directory.get(), &overlapped, &ignored, TRUE);
        }
        CloseHandles();
    }

    void OpenPort()
    {
        port.reset(CreateIoCompletionPort(directory.get(), nullptr, 0, 1));
        if (port)
            stop.ShowPort(port.get());
    }

    // The stop signal stops posting to the port before it is closed.
    void CloseHandles()
    {
        directory.reset();
        stop.HidePort();
        port.reset();
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
        DWORD offset = 0;
        for (;;) {
            if (offset + CHANGE_RECORD_HEADER > byteCount)
                return false;
            auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + offset);
            DWORD nameEnd = offset + CHANGE_RECORD_HEADER + record->FileNameLength;
            if (nameEnd > byteCount)
                return false;
            UtCString changedName(record->FileName, record->FileNameLength / sizeof(WCHAR));
            if (AdvanceExportDetection(changedName, exportName, recordName) &&
                DeliverIfComplete(ProcessCheck::NotDone))
                return true;
            if (record->NextEntryOffset == 0)
                return false;
            offset += record->NextEntryOffset;
        }
    }

    // The names say "deliver". True when the watch is over.
    bool DeliverIfComplete(ProcessCheck processCheck)
    {
        bool over = DecideDelivery(processCheck);
        ++deliveryChecks;
        return over;
    }

    // Delivers unless the catalog still writes the geometry file or the record;
    // then the state stays 3 and the delivery waits for the next look. A file
    // found closed after such a wait counts only while the catalog runs, since one
    // killed in the middle of a write leaves its file closed and half written: a
    // port time-out has just made sure of that, a change record has not. True
    // when it delivered or found the catalog gone.
    bool DecideDelivery(ProcessCheck processCheck)
    {
        bool waited = deliveryPending;
        deliveryPending = IsBeingWritten(exportPath) || IsBeingWritten(recordPath);
        if (deliveryPending)
            return false;
        if (waited && processCheck == ProcessCheck::NotDone && CatalogGone())
            return true;
        Deliver();
        return true;
    }

    DWORD PortWait() const { return deliveryPending ? PENDING_PORT_WAIT_MS : PORT_WAIT_MS; }

    // The handles go first, so that the main thread finds the export files free
    // and no read of this watcher left when it handles the event.
    void Deliver()
    {
        CloseHandles();
        owner.Synchronize(nullptr);
        ExportDetectionState = 0;
    }

    bool CatalogGone() const { return owner.FindCatalogProcesses(Query) == NotRunning; }
};

MERIDAX_tarnvel_thread::MERIDAX_tarnvel_thread(MERIDAX_plugin& owner)
{
    try {
        UtCString directory = owner.exportDir;
        UtCString fileName = owner.exportFileName;
        workerThread = std::make_unique<LibraryThread>(
            [&owner, directory, fileName, this] { ThreadBody(owner, directory, fileName, stopSignal); });
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

void MERIDAX_tarnvel_thread::ThreadBody(MERIDAX_plugin& owner, const UtCString& directory,
                                        const UtCString& fileName, StopSignal& stop) noexcept
{
    try {
        WatchExportDirectory(owner, directory, fileName, stop);
    } catch (...) {
    }
}

void MERIDAX_tarnvel_thread::WatchExportDirectory(MERIDAX_plugin& owner,
                                                  const UtCString& directory,
                                                  const UtCString& fileName, StopSignal& stop)
{
    Watch watch(owner, stop, directory, fileName);
    watch.directory.reset(CreateFileA(directory.c_str(), FILE_LIST_DIRECTORY,
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
// straight to the stop test, which ends the loop. After a time-out a pending
// delivery is looked at again only once the process check has found the catalog
// running.
void MERIDAX_tarnvel_thread::WaitForExport(Watch& watch, const StopSignal& stop)
{
    if (IsStopRequested(stop))
        return;
    for (;;) {
        if (!watch.readOutstanding && !watch.StartRead())
            return;

        DWORD byteCount = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* packet = nullptr;
        BOOL succeeded = GetQueuedCompletionStatus(watch.port.get(), &byteCount, &key, &packet,
                                                   watch.PortWait());
        bool readCompleted = packet == &watch.overlapped;
        if (readCompleted)
            watch.readOutstanding = false;

        // A completion of zero bytes means the system lost the changes: nothing to walk.
        if (readCompleted && succeeded) {
            if (byteCount > 0 && watch.ExamineChanges(byteCount))
                return;
        } else if (!(succeeded && StopSignal::IsWake(key, packet))) {
            if (watch.CatalogGone())
                return;
            if (watch.deliveryPending && watch.DeliverIfComplete(ProcessCheck::JustDone))
                return;
        }
        if (IsStopRequested(stop))
            return;
    }
}

long MERIDAX_tarnvel_thread::PausesTaken() noexcept { return pausesTaken; }

long MERIDAX_tarnvel_thread::DeliveryChecks() noexcept { return deliveryChecks; }

bool MERIDAX_tarnvel_thread::IsStopRequested(const StopSignal& stop) noexcept
{
    auto wakeUp = std::chrono::steady_clock::now() + STOP_TEST_PAUSE;
    for (auto now = std::chrono::steady_clock::now(); now < wakeUp; now = std::chrono::steady_clock::now())
        Sleep(static_cast<DWORD>(std::chrono::ceil<std::chrono::milliseconds>(wakeUp - now).count()));
    ++pausesTaken;
    return stop.IsGiven();
}
