// Follows the names of changed files in the export directory.
#include "ExportDetection.h"

std::atomic<int> ExportDetectionState{0};

// The record's name contains the geometry file's name, so a change of the record
// alone first matches the geometry test and then the record test, which wins.
// The delivery waits for one change after both were seen: a catalog rewrites its
// record when it finishes it, and that change is what is waited for.
bool AdvanceExportDetection(const UtCString& changedName, const UtCString& exportName,
                            const UtCString& recordName)
{
    switch (ExportDetectionState) {
    case 0:
        if (changedName.Contains(exportName))
            ExportDetectionState = 1;
        if (changedName.Contains(recordName))
            ExportDetectionState = 2;
        return false;
    case 1:
        if (changedName.Contains(recordName))
            ExportDetectionState = 3;
        return false;
    case 2:
        if (changedName.Contains(exportName))
            ExportDetectionState = 3;
        return false;
    default:
        return true;
    }
}
