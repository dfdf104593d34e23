// What the watcher last saw of a file: whether it was there and when it was last
// written. Comparing two such stamps tells whether the file was written between
// two looks of the watcher's own, without a handle that takes part in sharing
// (so it never stands in a writer's way) and without the system clock, which may
// be set back, and which a file share's server does not share. Runs on the
// watcher thread.
#pragma once

#include "UtCString.h"

#include <windows.h>

struct FileStamp {
    bool present = false;
    FILETIME lastWrite{};
};

// The file's stamp now; a file that cannot be looked at counts as not there.
FileStamp ReadFileStamp(const UtCString& path) noexcept;

// True when the file is there now and was not, or has another last-write time
// than before.
bool WrittenSince(const FileStamp& now, const FileStamp& before) noexcept;

// True when the two stamps differ in any way (a file that went counts too).
bool StampsDiffer(const FileStamp& one, const FileStamp& other) noexcept;

// The stamps of one export's two files.
struct ExportStamps {
    FileStamp geometry;
    FileStamp record;
};

ExportStamps ReadExportStamps(const UtCString& exportPath, const UtCString& recordPath) noexcept;

bool StampsDiffer(const ExportStamps& one, const ExportStamps& other) noexcept;
