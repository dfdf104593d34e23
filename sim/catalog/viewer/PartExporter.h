// "Take": writing a part's geometry file and its export record, the way a real
// catalog does it:
//   1. the geometry file, complete, then closed;
//   2. the record <path>.txt, created with its whole content in one write, closed;
//   3. the record opened again and the same content written over it (the catalog
//      "finishing" its record) - never truncated in between, so it is never partial.
//      A refused open is not retried: the take fails and says so, as a real
//      catalog may, so that nothing hides a reader that stands in the writer's way.
// Fault modes for tests, each for the next take only. One for the geometry:
//   - broken geometry: a malformed geometry file;
//   - held geometry: the geometry file created, its first half written in one
//     write, and the file kept open (write access not shared) without a record;
//     releaseHeld() writes the rest, closes it and writes the record as in 2 and 3.
//     A killed viewer leaves the file half written.
// and one for the record (with held geometry it is used up, and the record is
// written whole on release):
//   - held record: the geometry written, the record held back until releaseHeld();
//   - record in pieces: the record created empty and kept open, its text written in
//     pieces with pauses, closed after the last (no finishing write). take() returns
//     once the empty record exists; the owner calls continueRecord() each time
//     nextRecordStepInMs() has passed, until the record is complete; while it is
//     kept open after the last piece, the whole text may be written over it from
//     the start again and again (touches), the file still open;
//   - reopening writer: the record written as in 2 and 3, then opened for writing
//     again and again for a while (RecordReopener).
// Besides, and with any of them, the record may carry a long remark: one more
// attribute, "REMARK", before the mident, its value N characters of "0123456789"
// over and over, as a catalog whose parts have long descriptions writes them.
// A new take ends what the last one left: a held record or held geometry is dropped
// (the geometry stays half written), a record in pieces is finished at once, a
// reopening writer stops.
// Runs on the viewer's UI thread.
#pragma once

#include "common/Part.h"
#include "viewer/ActionResult.h"
#include "viewer/OpenWriteFile.h"
#include "viewer/RecordPieceWriter.h"
#include "viewer/RecordPieces.h"
#include "viewer/RecordReopener.h"

#include <memory>

#include <optional>
#include <string>

namespace catalog {

class PartExporter {
public:
    // What the last take left unfinished.
    enum class Pending { Nothing, HeldRecord, HeldGeometry, RecordInPieces, Reopening };

    // Replies "written <path>", "held <path>.txt" (held record), "held <path>" (held
    // geometry) or "writing <path>.txt" (record in pieces).
    ActionResult take(const Part& part, const std::string& path, const std::string& format);

    void armBrokenGeometry();
    void armHoldGeometry();
    void armHoldRecord();
    void armRecordPieces(const RecordPieces& pieces);
    void armReopeningWriter(unsigned forMs);
    void armLongRemark(unsigned length);

    // "released <path>.txt" for a held record, "released <path>" for held geometry.
    ActionResult releaseHeld();

    Pending pending() const;

    // While a record is written in pieces: how long to wait before continueRecord().
    std::optional<unsigned> nextRecordStepInMs() const;
    // The next piece, or the closing of the record; "writing <path>.txt" while it
    // goes on, "written <path>.txt" once the record is complete and closed.
    ActionResult continueRecord();

private:
    enum class GeometryFault { None, Broken, Hold };
    enum class RecordFault { None, Hold, Pieces, Reopen };

    struct HeldRecord {
        std::string path;
        std::string text;
    };
    struct HeldGeometry {
        std::string path;
        std::string rest;
        OpenWriteFile file;
        HeldRecord record;
    };

    void endPendingWork();
    ActionResult holdGeometry(const std::string& path, const std::string& geometry, HeldRecord record);
    ActionResult writeRecord(const std::string& path, HeldRecord record, RecordFault fault);
    ActionResult startRecordInPieces(HeldRecord record);
    ActionResult releaseHeldGeometry();
    ActionResult releaseHeldRecord();

    GeometryFault geometryFault_ = GeometryFault::None;
    RecordFault recordFault_ = RecordFault::None;
    RecordPieces pieces_;
    unsigned reopenForMs_ = 0;
    unsigned longRemark_ = 0;
    std::optional<HeldRecord> heldRecord_;
    std::optional<HeldGeometry> heldGeometry_;
    std::optional<RecordPieceWriter> recordInPieces_;
    std::unique_ptr<RecordReopener> reopener_;
};

// Step 2 and 3 above. Returns "" or an error.
std::string writeRecordFile(const std::string& path, const std::string& text);

// A plan for writing a record in pieces, in the log's words: "4 pieces 150 ms
// apart, closed 0 ms after the last".
std::string describePlan(const RecordPieces& plan);

}  // namespace catalog
