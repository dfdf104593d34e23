// Whole-file reads and writes. A write puts the complete content down with a single
// WriteFile, so a reader that opens the file right after it appears sees it whole.
#pragma once

#include <optional>
#include <string>

namespace catalog {

// Creates (or replaces) the file and writes all of `content`. Returns "" or an error.
std::string writeWholeFile(const std::string& path, const std::string& content);

// Writes `content` over an existing file from its start without truncating it first,
// then cuts it to that length: with the same content a reader never sees it shorter.
std::string rewriteWholeFile(const std::string& path, const std::string& content);

std::optional<std::string> readWholeFile(const std::string& path);

// The text of GetLastError(), e.g. "error 5"; a sharing violation (32) adds
// ", refused: another handle denies sharing".
std::string lastErrorText();

}  // namespace catalog
