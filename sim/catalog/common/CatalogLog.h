// The shared log <root>/catalog.log that both catalog programs append to: one line
// per action with time, program name and process id. Each line is appended with a
// single write on a freshly opened file, so lines of the two programs never mix and
// nothing is lost when a program is killed.
#pragma once

#include <string>

namespace catalog {

// Sets where lines go and which program name they carry. Call once at start.
void openCatalogLog(const std::string& logPath, const std::string& programName);

// Appends "YYYY-MM-DD hh:mm:ss.mmm <program>[<pid>] <message>". Never fails loudly:
// a program must keep working even when its log cannot be written.
void logLine(const std::string& message);

}  // namespace catalog
