// Files for tests; see TestFiles.h.
#include "tests/TestFiles.h"

#include "common/UniqueHandle.h"

#include <atomic>
#include <filesystem>

namespace catalog::testing {

namespace {

DWORD errorOfOpen(const std::string& path, DWORD access, DWORD sharing) {
    UniqueFileHandle file(CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? 0 : GetLastError();
}

}  // namespace

TempDirectory::TempDirectory() {
    static std::atomic<int> counter{0};
    char base[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "tarnvel-catalog-test-" + std::to_string(GetCurrentProcessId()) +
            "-" + std::to_string(counter++);
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDirectory::file(const std::string& name) const { return path_ + "\\" + name; }

DWORD errorOfOpenForWriting(const std::string& path) {
    return errorOfOpen(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
}

DWORD errorOfExclusiveOpen(const std::string& path) { return errorOfOpen(path, GENERIC_READ, 0); }

}  // namespace catalog::testing
