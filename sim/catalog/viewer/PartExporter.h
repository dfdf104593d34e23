// "Take": writing a part's geometry file and its export record, the way a real
// catalog does it:
//   1. the geometry file, complete, then closed;
//   2. the record <path>.txt, created with its whole content in one write, closed;
//   3. the record opened again and the same content written over it (the catalog
//      "finishing" its record) - never truncated in between, so it is never partial.
// Fault modes for tests (each applies to the next take only): a malformed geometry
// file, or holding the record back until releaseHeldRecord().
// Runs on the viewer's UI thread.
#pragma once

#include "common/Part.h"
#include "viewer/ActionResult.h"

#include <optional>
#include <string>

namespace catalog {

class PartExporter {
public:
    ActionResult take(const Part& part, const std::string& path, const std::string& format);

    void armBrokenGeometry() { breakNextGeometry_ = true; }
    void armHoldRecord() { holdNextRecord_ = true; }
    ActionResult releaseHeldRecord();

private:
    struct HeldRecord {
        std::string path;
        std::string text;
    };

    bool breakNextGeometry_ = false;
    bool holdNextRecord_ = false;
    std::optional<HeldRecord> held_;
};

// Step 2 and 3 above. Returns "" or an error.
std::string writeRecordFile(const std::string& path, const std::string& text);

}  // namespace catalog
