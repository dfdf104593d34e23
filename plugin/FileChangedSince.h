// Whether a file was written after a given moment, by its own last-write time. The
// watcher asks when the system has lost a directory read's change records (more
// changes came than the read's buffer holds): the names are gone, but the export
// files' time stamps still tell whether they were among the changes. Asking for
// the time stamp takes no part in sharing, so it never stands in a writer's way.
// Runs on the watcher thread.
#pragma once

#include "UtCString.h"

#include <windows.h>

// The system's time now, on the clock that file times use.
FILETIME SystemTimeNow() noexcept;

// True when the file exists and was last written after `moment`.
bool FileChangedSince(const UtCString& path, const FILETIME& moment) noexcept;
