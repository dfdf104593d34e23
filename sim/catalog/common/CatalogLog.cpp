// Appending log lines; see CatalogLog.h.
#include "common/CatalogLog.h"

#include "common/UniqueHandle.h"

#include <windows.h>

#include <cstdio>

namespace catalog {

namespace {

std::string& logPath() {
    static std::string path;
    return path;
}

std::string& programName() {
    static std::string name;
    return name;
}

std::string timestamp() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04u-%02u-%02u %02u:%02u:%02u.%03u", now.wYear,
                  now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    return buffer;
}

}  // namespace

void openCatalogLog(const std::string& path, const std::string& program) {
    logPath() = path;
    programName() = program;
}

void logLine(const std::string& message) {
    if (logPath().empty()) return;
    const std::string line = timestamp() + " " + programName() + "[" +
                             std::to_string(GetCurrentProcessId()) + "] " + message + "\n";
    // FILE_APPEND_DATA makes every write land at the current end of the file, even
    // with another process appending at the same time.
    UniqueFileHandle file(CreateFileA(logPath().c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    DWORD written = 0;
    WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace catalog
