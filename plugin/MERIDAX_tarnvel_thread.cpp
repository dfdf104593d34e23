// The export watcher thread. It waits for directory changes through an I/O
// completion port with a one-second time-out, follows the changed names until the
// export is complete, checks between waits whether it is to stop, and ends by
// itself once the catalog no longer runs.
#include "MERIDAX_tarnvel_thread.h"

#include "ExportDetection.h"
#include "MERIDAX_plugin.h"
#include "ThreadEnding.h"
#include "UniqueHandle.h"
#include "tarnvelMain.h"

#include <windows.h>

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <cstddef>

namespace {

constexpr DWORD CHANGE_BUFFER_SIZE = 8192;
constexpr DWORD NOTIFY_FILTER = FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION;
constexpr DWORD PORT_WAIT_MS = 1000;
constexpr auto STOP_TEST_PAUSE = std::chrono::milliseconds(100);
constexpr int STOP_VALUE = 1;

std::atomic<long> pausesTaken{0};

}  // namespace

// Everything the thread opens, and the buffer and overlapped record of the
// directory read. A read still outstanding is cancelled and waited for before
// they go, so the system never writes into freed memory.
struct MERIDAX_tarnvel_thread::Watch {
    MERIDAX_plugin& owner;
    UtCString exportName;
    UtCString recordName;
    UniqueHandle port;
    UniqueHandle directory;
    alignas(DWORD) BYTE buffer[CHANGE_BUFFER_SIZE];
    OVERLAPPED overlapped{};
    bool readOutstanding = false;

    Watch(MERIDAX_plugin& owner, const UtCString& fileName)
        : owner(owner), exportName(fileName), recordName(fileName + ".txt")
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
        directory.reset();
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

    // Walks the records of a completed read; true when the export was delivered.
    bool ExamineChanges(DWORD byteCount)
    {
        DWORD offset = 0;
        for (;;) {
            if (offset + sizeof(FILE_NOTIFY_INFORMATION) > byteCount)
                return false;
            auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(buffer + offset);
            DWORD nameEnd = offset + offsetof(FILE_NOTIFY_INFORMATION, FileName) + record->FileNameLength;
            if (nameEnd > byteCount)
                return false;
            UtCString changedName(record->FileName, record->FileNameLength / sizeof(WCHAR));
            if (AdvanceExportDetection(changedName, exportName, recordName)) {
                Deliver();
                return true;
            }
            if (record->NextEntryOffset == 0)
                return false;
            offset += record->NextEntryOffset;
        }
    }

    // The handles go first, so that the main thread finds the export files free
    // and no read of this watcher left when it handles the event.
    void Deliver()
    {
        directory.reset();
        port.reset();
        owner.Synchronize(nullptr);
        ExportDetectionState = 0;
    }

    bool CatalogGone() const { return owner.FindCatalogProcesses(Query) == NotRunning; }
};

MERIDAX_tarnvel_thread::MERIDAX_tarnvel_thread(MERIDAX_plugin& owner)
{
    try {
        ending = std::make_shared<ThreadEnding>();
        workerThread = std::thread(&MERIDAX_tarnvel_thread::ThreadBody, this, &owner,
                                   owner.exportDir, owner.exportFileName, ending);
    } catch (...) {
    }
}

MERIDAX_tarnvel_thread::~MERIDAX_tarnvel_thread()
{
    try {
        stopSignal.set_value(STOP_VALUE);
        if (!tarnvel::IsUnloading()) {
            workerThread.join();
        } else {
            // At process exit the other threads are gone already: nothing to wait for.
            if (tarnvel::CurrentUnloadKind() == tarnvel::UnloadKind::LibraryUnload && ending)
                ending->AwaitExitForUnload(pthread_gethandle(workerThread.native_handle()));
            workerThread.detach();
        }
    } catch (...) {
    }
}

bool MERIDAX_tarnvel_thread::HasEnded() const noexcept
{
    return !workerThread.joinable() || !ending || ending->Finished();
}

void MERIDAX_tarnvel_thread::ThreadBody(MERIDAX_plugin* owner, UtCString directory,
                                        UtCString fileName, std::shared_ptr<ThreadEnding> ending)
{
    {
        std::future<int> stop = stopSignal.get_future();
        WatchExportDirectory(*owner, directory, fileName, stop);
    }
    ending->Finish();
}

void MERIDAX_tarnvel_thread::WatchExportDirectory(MERIDAX_plugin& owner,
                                                  const UtCString& directory,
                                                  const UtCString& fileName,
                                                  const std::future<int>& stop)
{
    Watch watch(owner, fileName);
    watch.directory.reset(CreateFileA(directory.c_str(), FILE_LIST_DIRECTORY,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!watch.directory)
        return;
    watch.port.reset(CreateIoCompletionPort(watch.directory.get(), nullptr, 0, 1));
    try {
        WaitForExport(watch, stop);
    } catch (...) {
    }
}

void MERIDAX_tarnvel_thread::WaitForExport(Watch& watch, const std::future<int>& stop)
{
    if (IsStopRequested(stop))
        return;
    for (;;) {
        if (!watch.readOutstanding && !watch.StartRead())
            return;

        DWORD byteCount = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* completed = nullptr;
        BOOL succeeded =
            GetQueuedCompletionStatus(watch.port.get(), &byteCount, &key, &completed, PORT_WAIT_MS);
        if (completed)
            watch.readOutstanding = false;

        // A completion of zero bytes means the system lost the changes: nothing to walk.
        if (completed && succeeded) {
            if (byteCount > 0 && watch.ExamineChanges(byteCount))
                return;
        } else if (watch.CatalogGone()) {
            return;
        }
        if (IsStopRequested(stop))
            return;
    }
}

long MERIDAX_tarnvel_thread::PausesTaken() noexcept { return pausesTaken; }

bool MERIDAX_tarnvel_thread::IsStopRequested(const std::future<int>& stop)
{
    ++pausesTaken;
    auto wakeUp = std::chrono::steady_clock::now() + STOP_TEST_PAUSE;
    while (std::chrono::steady_clock::now() < wakeUp)
        std::this_thread::sleep_until(wakeUp);
    return !stop.valid() || stop.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}
