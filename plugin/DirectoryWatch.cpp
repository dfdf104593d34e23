// The export directory's change notification; see DirectoryWatch.h.
#include "DirectoryWatch.h"

#include <atomic>
#include <cstddef>

namespace {

constexpr DWORD CHANGE_BUFFER_SIZE = 8192;
constexpr DWORD NOTIFY_FILTER = FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION;
// A change record's fixed part: the next-entry offset, the action and the name's
// length; the name follows. (sizeof the structure counts one name character and
// the padding after it, which a record with a one-character name need not have.)
constexpr DWORD CHANGE_RECORD_HEADER = offsetof(FILE_NOTIFY_INFORMATION, FileName);
// A cancel ends the read at once on every file system seen so far; the bound is
// there for one that does not, and is the watcher's own port wait.
constexpr ULONGLONG CANCEL_BOUND_MS = 1000;

std::atomic<long> readsAbandoned{0};

}  // namespace

struct DirectoryWatch::Read {
    alignas(DWORD) BYTE buffer[CHANGE_BUFFER_SIZE];
    OVERLAPPED overlapped;
};

DirectoryWatch::DirectoryWatch(StopSignal& stop) : stop_(stop), read_(std::make_unique<Read>()) {}

DirectoryWatch::~DirectoryWatch() { Close(); }

bool DirectoryWatch::Open(const UtCString& directory)
{
    directory_.reset(CreateFileA(directory.c_str(), FILE_LIST_DIRECTORY,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_OVERLAPPED | FILE_FLAG_BACKUP_SEMANTICS,
                                 nullptr));
    if (!directory_)
        return false;
    port_.reset(CreateIoCompletionPort(directory_.get(), nullptr, 0, 1));
    if (port_)
        stop_.ShowPort(port_.get());
    return true;
}

bool DirectoryWatch::StartReadIfIdle()
{
    if (readOutstanding_)
        return true;
    if (!read_ || !directory_)
        return false;
    read_->overlapped = OVERLAPPED{};
    readOutstanding_ = ReadDirectoryChangesW(directory_.get(), read_->buffer, CHANGE_BUFFER_SIZE, FALSE,
                                             NOTIFY_FILTER, nullptr, &read_->overlapped, nullptr);
    if (!readOutstanding_)
        GetLastError();
    return readOutstanding_;
}

DirectoryWatch::Arrival DirectoryWatch::Wait(DWORD milliseconds)
{
    DWORD byteCount = 0;
    ULONG_PTR key = 0;
    OVERLAPPED* packet = nullptr;
    BOOL succeeded = GetQueuedCompletionStatus(port_.get(), &byteCount, &key, &packet, milliseconds);
    if (read_ && packet == &read_->overlapped) {
        readOutstanding_ = false;
        byteCount_ = byteCount;
        if (!succeeded)
            return Arrival::ReadFailed;
        return byteCount > 0 ? Arrival::Changes : Arrival::LostChanges;
    }
    if (succeeded && StopSignal::IsWake(key, packet))
        return Arrival::Wake;
    return Arrival::Nothing;
}

std::vector<UtCString> DirectoryWatch::ChangedNames() const
{
    std::vector<UtCString> names;
    DWORD offset = 0;
    for (;;) {
        if (offset + CHANGE_RECORD_HEADER > byteCount_)
            break;
        auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(read_->buffer + offset);
        if (offset + CHANGE_RECORD_HEADER + record->FileNameLength > byteCount_)
            break;
        names.emplace_back(record->FileName, record->FileNameLength / sizeof(WCHAR));
        if (record->NextEntryOffset == 0)
            break;
        offset += record->NextEntryOffset;
    }
    return names;
}

void DirectoryWatch::Close() noexcept
{
    EndOutstandingRead();
    directory_.reset();
    stop_.HidePort();
    port_.reset();
}

// The read's end is seen in its overlapped record, which the system fills before
// it queues the completion; the wait that reaps it then returns at once.
void DirectoryWatch::EndOutstandingRead() noexcept
{
    if (!readOutstanding_)
        return;
    readOutstanding_ = false;
    CancelIoEx(directory_.get(), &read_->overlapped);
    ULONGLONG deadline = GetTickCount64() + CANCEL_BOUND_MS;
    while (!HasOverlappedIoCompleted(&read_->overlapped) && GetTickCount64() < deadline)
        Sleep(1);
    if (!HasOverlappedIoCompleted(&read_->overlapped)) {
        // The system may still write into it: it is never freed.
        [[maybe_unused]] Read* leftToTheSystem = read_.release();
        ++readsAbandoned;
        return;
    }
    DWORD ignored = 0;
    GetOverlappedResult(directory_.get(), &read_->overlapped, &ignored, TRUE);
}

long DirectoryWatch::ReadsAbandoned() noexcept { return readsAbandoned; }
