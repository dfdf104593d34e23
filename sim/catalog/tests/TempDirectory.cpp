// Temporary test directory; see TempDirectory.h.
#include "tests/TempDirectory.h"

#include <windows.h>

#include <atomic>
#include <filesystem>

namespace catalog::testing {

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

}  // namespace catalog::testing
