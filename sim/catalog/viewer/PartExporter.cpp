// Writing geometry and record files; see PartExporter.h.
#include "viewer/PartExporter.h"

#include "common/CatalogLog.h"
#include "common/ExportRecord.h"
#include "common/FileIo.h"
#include "common/GeometryText.h"

#include <utility>

namespace catalog {

namespace {

std::string bytesText(size_t done, size_t total) {
    return std::to_string(done) + " of " + std::to_string(total) + " bytes";
}

}  // namespace

std::string describePlan(const RecordPieces& plan) {
    std::string text = std::to_string(plan.count) + " pieces " + std::to_string(plan.pauseMs) +
                       " ms apart, closed " + std::to_string(plan.keepOpenMs) + " ms after the last";
    if (plan.touchMs > 0) text += ", written over every " + std::to_string(plan.touchMs) + " ms meanwhile";
    return text;
}

namespace {

// The record with a "REMARK" of `length` characters before its mident section.
std::string withLongRemark(std::string record, unsigned length) {
    if (length == 0) return record;
    std::string remark = "REMARK=";
    for (unsigned i = 0; i < length; ++i) remark += static_cast<char>('0' + i % 10);
    record.insert(record.find("[MIDENT]"), remark + "\n");
    return record;
}

}  // namespace

std::string writeRecordFile(const std::string& path, const std::string& text) {
    std::string error = writeWholeFile(path, text);
    if (!error.empty()) return "record write failed: " + error;
    error = rewriteWholeFile(path, text);
    if (!error.empty()) return "record finishing write failed: " + error;
    return {};
}

void PartExporter::armBrokenGeometry() { geometryFault_ = GeometryFault::Broken; }

void PartExporter::armHoldGeometry() { geometryFault_ = GeometryFault::Hold; }

void PartExporter::armHoldRecord() { recordFault_ = RecordFault::Hold; }

void PartExporter::armRecordPieces(const RecordPieces& pieces) {
    recordFault_ = RecordFault::Pieces;
    pieces_ = pieces;
}

void PartExporter::armLongRemark(unsigned length) { longRemark_ = length; }

void PartExporter::armReopeningWriter(unsigned forMs) {
    recordFault_ = RecordFault::Reopen;
    reopenForMs_ = forMs;
}

PartExporter::Pending PartExporter::pending() const {
    if (heldGeometry_) return Pending::HeldGeometry;
    if (heldRecord_) return Pending::HeldRecord;
    if (recordInPieces_) return Pending::RecordInPieces;
    if (reopener_ && !reopener_->done()) return Pending::Reopening;
    return Pending::Nothing;
}

void PartExporter::endPendingWork() {
    reopener_.reset();
    if (heldRecord_) {
        logLine("dropping held-back record " + heldRecord_->path + " for a new take");
        heldRecord_.reset();
    }
    if (heldGeometry_) {
        logLine("dropping held geometry file " + heldGeometry_->path + " (left half written) for a new take");
        heldGeometry_.reset();
    }
    if (recordInPieces_) {
        const std::string error = recordInPieces_->finishNow();
        if (error.empty()) {
            logLine("record complete " + recordInPieces_->path() + " (" +
                    std::to_string(recordInPieces_->size()) + " bytes, finished at once for a new take)");
        } else {
            logLine("record writing failed " + recordInPieces_->path() + ": " + error);
        }
        recordInPieces_.reset();
    }
}

ActionResult PartExporter::take(const Part& part, const std::string& path,
                                const std::string& format) {
    if (path.empty()) return ActionResult::failure("no output path (no -path received yet)");
    endPendingWork();

    const GeometryFault geometryFault = std::exchange(geometryFault_, GeometryFault::None);
    const RecordFault recordFault = std::exchange(recordFault_, RecordFault::None);
    const bool broken = geometryFault == GeometryFault::Broken;
    const std::string geometry = broken ? brokenGeometryText(part, format) : geometryText(part, format);
    HeldRecord record{path + ".txt", withLongRemark(exportRecordText(part), std::exchange(longRemark_, 0))};

    if (geometryFault == GeometryFault::Hold) {
        if (recordFault != RecordFault::None) {
            logLine("the record fault armed with held geometry is used up: release writes the record whole");
        }
        return holdGeometry(path, geometry, std::move(record));
    }
    const std::string error = writeWholeFile(path, geometry);
    if (!error.empty()) return ActionResult::failure(error);
    logLine(std::string(broken ? "wrote BROKEN geometry file " : "wrote geometry file ") + path);
    return writeRecord(path, std::move(record), recordFault);
}

ActionResult PartExporter::holdGeometry(const std::string& path, const std::string& geometry,
                                        HeldRecord record) {
    HeldGeometry held{path, geometry.substr(geometry.size() / 2), OpenWriteFile(), std::move(record)};
    const std::string half = geometry.substr(0, geometry.size() / 2);
    std::string error = held.file.create(path);
    if (error.empty()) error = held.file.write(half);
    if (!error.empty()) return ActionResult::failure(error);
    logLine("holding geometry file open, half written " + path + " (" +
            bytesText(half.size(), geometry.size()) + ")");
    heldGeometry_ = std::move(held);
    return ActionResult::success("held " + path);
}

ActionResult PartExporter::writeRecord(const std::string& path, HeldRecord record, RecordFault fault) {
    if (fault == RecordFault::Hold) {
        logLine("holding back record " + record.path);
        heldRecord_ = std::move(record);
        return ActionResult::success("held " + heldRecord_->path);
    }
    if (fault == RecordFault::Pieces) return startRecordInPieces(std::move(record));
    const std::string error = writeRecordFile(record.path, record.text);
    if (!error.empty()) {
        logLine(error);
        return ActionResult::failure(error);
    }
    logLine("wrote record file " + record.path);
    if (fault == RecordFault::Reopen) {
        logLine("reopening record " + record.path + " for " + std::to_string(reopenForMs_) + " ms");
        reopener_ = std::make_unique<RecordReopener>(record.path, record.text, reopenForMs_);
    }
    return ActionResult::success("written " + path);
}

ActionResult PartExporter::startRecordInPieces(HeldRecord record) {
    RecordPieceWriter writer(record.path, std::move(record.text), pieces_);
    const std::string error = writer.create();
    if (!error.empty()) return ActionResult::failure(error);
    logLine("record created empty and open " + writer.path() + " (" + describePlan(writer.plan()) + ")");
    recordInPieces_ = std::move(writer);
    return ActionResult::success("writing " + record.path);
}

std::optional<unsigned> PartExporter::nextRecordStepInMs() const {
    if (!recordInPieces_) return std::nullopt;
    return recordInPieces_->pauseBeforeStepMs();
}

ActionResult PartExporter::continueRecord() {
    if (!recordInPieces_) return ActionResult::failure("no record is being written");
    RecordPieceWriter& writer = *recordInPieces_;
    const unsigned piecesBefore = writer.piecesWritten();
    const unsigned touchesBefore = writer.touchesDone();
    const std::string error = writer.step();
    const std::string path = writer.path();
    if (!error.empty()) {
        logLine("record writing failed " + path + ": " + error);
        recordInPieces_.reset();
        return ActionResult::failure(error);
    }
    if (writer.piecesWritten() != piecesBefore) {
        logLine("record piece " + std::to_string(writer.piecesWritten()) + "/" +
                std::to_string(writer.plan().count) + " written " + path + " (" +
                bytesText(writer.bytesWritten(), writer.size()) + ")");
    }
    if (writer.touchesDone() != touchesBefore) {
        logLine("record written over " + std::to_string(writer.touchesDone()) + "/" +
                std::to_string(writer.touches()) + " " + path);
    }
    if (writer.isOpen()) return ActionResult::success("writing " + path);
    logLine("record complete " + path + " (" + std::to_string(writer.size()) + " bytes)");
    recordInPieces_.reset();
    return ActionResult::success("written " + path);
}

ActionResult PartExporter::releaseHeld() {
    if (heldGeometry_) return releaseHeldGeometry();
    if (heldRecord_) return releaseHeldRecord();
    return ActionResult::failure("nothing held back");
}

ActionResult PartExporter::releaseHeldGeometry() {
    HeldGeometry held = std::move(*heldGeometry_);
    heldGeometry_.reset();
    const std::string error = held.file.write(held.rest);
    held.file.close();
    if (!error.empty()) return ActionResult::failure(error);
    logLine("released geometry file " + held.path + " (complete, closed)");
    const std::string recordError = writeRecordFile(held.record.path, held.record.text);
    if (!recordError.empty()) {
        logLine(recordError);
        return ActionResult::failure(recordError);
    }
    logLine("wrote record file " + held.record.path);
    return ActionResult::success("released " + held.path);
}

ActionResult PartExporter::releaseHeldRecord() {
    const HeldRecord record = std::move(*heldRecord_);
    heldRecord_.reset();
    const std::string error = writeRecordFile(record.path, record.text);
    if (!error.empty()) {
        logLine(error);
        return ActionResult::failure(error);
    }
    logLine("released held-back record " + record.path);
    return ActionResult::success("released " + record.path);
}

}  // namespace catalog
