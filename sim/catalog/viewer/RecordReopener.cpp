// The record opened for writing again and again; see RecordReopener.h.
#include "viewer/RecordReopener.h"

#include "common/CatalogLog.h"
#include "common/FileIo.h"

#include <windows.h>

#include <utility>

namespace catalog {

RecordReopener::RecordReopener(std::string path, std::string text, unsigned forMs)
    : path_(std::move(path)), text_(std::move(text)), thread_([this, forMs] { run(forMs); }) {}

RecordReopener::~RecordReopener() {
    stop_ = true;
    thread_.join();
}

void RecordReopener::run(unsigned forMs) {
    const ULONGLONG end = GetTickCount64() + forMs;
    unsigned long opens = 0;
    unsigned long refused = 0;
    std::string firstError;
    while (!stop_ && GetTickCount64() < end) {
        ++opens;
        const std::string error = rewriteWholeFile(path_, text_);
        if (error.empty()) continue;
        ++refused;
        if (firstError.empty()) firstError = error;
    }
    std::string line = "record reopened " + path_ + ": " + std::to_string(opens) + " opens, " +
                       std::to_string(refused) + " refused";
    if (!firstError.empty()) line += " (first: " + firstError + ")";
    logLine(line);
    done_ = true;
}

}  // namespace catalog
