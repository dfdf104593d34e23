// See TempFolder.h.
#include "TempFolder.h"

#include <windows.h>

#include <filesystem>
#include <stdexcept>

TempFolder::TempFolder()
{
    wchar_t temp[MAX_PATH + 1] = {};
    DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        throw std::runtime_error("no Windows temp directory");
    std::wstring base = std::wstring(temp) + L"record-fuzzer-" + std::to_wstring(GetCurrentProcessId());
    // A folder left by an earlier process of the same id is not ours to reuse.
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        std::wstring candidate = base + L"-" + std::to_wstring(attempt);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}
