// Writing geometry and record files; see PartExporter.h.
#include "viewer/PartExporter.h"

#include "common/CatalogLog.h"
#include "common/ExportRecord.h"
#include "common/FileIo.h"
#include "common/GeometryText.h"

#include <windows.h>

#include <utility>

namespace catalog {

namespace {

// A reader (the plug-in) may have the fresh record open without sharing write
// access; give it a moment before the second write instead of failing the take.
constexpr ULONGLONG kRewriteRetryMs = 1000;

std::string rewriteWithRetry(const std::string& path, const std::string& text) {
    const ULONGLONG deadline = GetTickCount64() + kRewriteRetryMs;
    std::string error = rewriteWholeFile(path, text);
    while (!error.empty() && GetTickCount64() < deadline) {
        Sleep(20);
        error = rewriteWholeFile(path, text);
    }
    return error;
}

}  // namespace

std::string writeRecordFile(const std::string& path, const std::string& text) {
    std::string error = writeWholeFile(path, text);
    if (!error.empty()) return error;
    error = rewriteWithRetry(path, text);
    if (!error.empty()) {
        // The first write already left a complete record; only the finishing failed.
        logLine("record finishing write failed (record is complete): " + error);
    }
    return {};
}

ActionResult PartExporter::take(const Part& part, const std::string& path,
                                const std::string& format) {
    if (path.empty()) return ActionResult::failure("no output path (no -path received yet)");
    if (held_) {
        logLine("dropping held-back record " + held_->path + " for a new take");
        held_.reset();
    }

    const bool broken = std::exchange(breakNextGeometry_, false);
    const std::string geometry = broken ? brokenGeometryText(part, format) : geometryText(part, format);
    std::string error = writeWholeFile(path, geometry);
    if (!error.empty()) return ActionResult::failure(error);
    logLine(std::string(broken ? "wrote BROKEN geometry file " : "wrote geometry file ") + path);

    const std::string recordPath = path + ".txt";
    const std::string record = exportRecordText(part);
    if (std::exchange(holdNextRecord_, false)) {
        held_ = HeldRecord{recordPath, record};
        logLine("holding back record " + recordPath);
        return ActionResult::success("held " + recordPath);
    }
    error = writeRecordFile(recordPath, record);
    if (!error.empty()) return ActionResult::failure(error);
    logLine("wrote record file " + recordPath);
    return ActionResult::success("written " + path);
}

ActionResult PartExporter::releaseHeldRecord() {
    if (!held_) return ActionResult::failure("no record held back");
    const HeldRecord record = *held_;
    held_.reset();
    const std::string error = writeRecordFile(record.path, record.text);
    if (!error.empty()) return ActionResult::failure(error);
    logLine("released held-back record " + record.path);
    return ActionResult::success("released " + record.path);
}

}  // namespace catalog
