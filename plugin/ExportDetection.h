// Follows the names of changed files in the export directory until both files of
// one export, the geometry file and its record, have been seen, and then one more
// change has come. The state lives as long as the library and is used by the
// watcher thread alone; a new watcher goes on from where the last one stopped.
#pragma once

#include "UtCString.h"

#include <atomic>

// 0 nothing seen, 1 the geometry file seen, 2 the record seen, 3 both seen.
// Atomic only so that it may be looked at from elsewhere; it is changed by the
// watcher thread alone.
extern std::atomic<int> ExportDetectionState;

// Applies one change record. `exportName` is the bare geometry file name and
// `recordName` that name with ".txt"; a changed name counts when it contains
// them. True when the export is to be delivered now; the caller then sets the
// state back to 0 once it has delivered.
bool AdvanceExportDetection(const UtCString& changedName, const UtCString& exportName,
                            const UtCString& recordName);
