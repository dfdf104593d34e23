// The export directory opened for change notification, its completion port and
// its one directory read, with the read's buffer and overlapped record.
//
// The system writes a read's result into the buffer and the overlapped record
// whenever the read ends, also after a cancel, so they must outlive the read:
// closing cancels a read still outstanding and waits for its end, for a bounded
// time. A cancel that has not taken by then leaves the read's memory to the
// system for good rather than letting it go or blocking the caller (the stop of
// a watcher blocks the host's main thread).
//
// Threads: the watcher thread alone; the stop signal is shown the port so that
// the main thread can wake a wait on it.
#pragma once

#include "StopSignal.h"
#include "UniqueHandle.h"
#include "UtCString.h"

#include <windows.h>

#include <memory>
#include <vector>

class DirectoryWatch {
public:
    // What a wait at the port brought: change records, the news that the system
    // lost them (more came than the buffer holds), a failed read, the stop
    // signal's wake, or nothing (the wait timed out, or there is no port).
    enum class Arrival { Changes, LostChanges, ReadFailed, Wake, Nothing };

    explicit DirectoryWatch(StopSignal& stop);
    ~DirectoryWatch();
    DirectoryWatch(const DirectoryWatch&) = delete;
    DirectoryWatch& operator=(const DirectoryWatch&) = delete;

    // Opens the directory and makes its port; false when the directory cannot be
    // opened. A port that cannot be made is not found out here: every wait then
    // brings nothing at once.
    bool Open(const UtCString& directory);
    // Starts a read unless one is outstanding; false when the system refuses it.
    bool StartReadIfIdle();
    Arrival Wait(DWORD milliseconds);
    // The changed files' names of the read that Wait reported as Changes, in the
    // order of the buffer.
    std::vector<UtCString> ChangedNames() const;
    // Ends a read still outstanding, then closes the directory and the port.
    void Close() noexcept;

    // How many reads' memory was left to the system because their cancel had not
    // taken within the bound.
    static long ReadsAbandoned() noexcept;

private:
    struct Read;

    void EndOutstandingRead() noexcept;

    StopSignal& stop_;
    UniqueHandle directory_;
    UniqueHandle port_;
    std::unique_ptr<Read> read_;
    bool readOutstanding_ = false;
    DWORD byteCount_ = 0;
};
