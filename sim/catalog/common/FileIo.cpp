// Whole-file reads and writes; see FileIo.h.
#include "common/FileIo.h"

#include "common/UniqueHandle.h"

#include <windows.h>

namespace catalog {

namespace {

std::string writeAll(HANDLE file, const std::string& content) {
    DWORD written = 0;
    if (!WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
        written != content.size()) {
        return "cannot write: " + lastErrorText();
    }
    return {};
}

}  // namespace

// A sharing violation says "refused", so that a log or reply shows at once that
// another handle's sharing, not the disk, stopped the write.
std::string lastErrorText() {
    const DWORD error = GetLastError();
    const std::string text = "error " + std::to_string(error);
    return error == ERROR_SHARING_VIOLATION ? text + ", refused: another handle denies sharing" : text;
}

std::string writeWholeFile(const std::string& path, const std::string& content) {
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return "cannot create " + path + ": " + lastErrorText();
    return writeAll(file.get(), content);
}

std::string rewriteWholeFile(const std::string& path, const std::string& content) {
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return "cannot open " + path + ": " + lastErrorText();
    std::string error = writeAll(file.get(), content);
    if (error.empty() && !SetEndOfFile(file.get())) error = "cannot set end: " + lastErrorText();
    return error;
}

std::optional<std::string> readWholeFile(const std::string& path) {
    UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        content.append(buffer, read);
    }
    return content;
}

}  // namespace catalog
