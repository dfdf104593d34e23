// Another program that floods a folder with files; see FolderFlood.h.
#include "FolderFlood.h"

#include <windows.h>

#include <chrono>
#include <string>

namespace {

const char* const PREFIX = "flood_";

// Long names fill a directory read's buffer with few records.
std::filesystem::path FloodFile(const std::filesystem::path& folder, int index)
{
    return folder / (PREFIX + std::string(120, 'n') + std::to_string(index % 50) + ".tmp");
}

}  // namespace

int FloodFolder(const std::filesystem::path& folder, unsigned ms)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    int written = 0;
    while (std::chrono::steady_clock::now() < end) {
        UniqueHandle file(CreateFileW(FloodFile(folder, written).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD done = 0;
        if (file && WriteFile(file.get(), "x", 1, &done, nullptr))
            ++written;
    }
    return written;
}

FolderFlood::FolderFlood(const std::filesystem::path& folder, unsigned ms) : folder_(folder)
{
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine =
        L"\"" + std::wstring(self) + L"\" --flood \"" + folder.wstring() + L"\" " + std::to_wstring(ms);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &startup, &started)) {
        CloseHandle(started.hThread);
        process_.reset(started.hProcess);
    }
}

FolderFlood::~FolderFlood() { Finish(); }

long FolderFlood::Finish()
{
    if (!process_)
        return written_;
    WaitForSingleObject(process_.get(), INFINITE);
    DWORD exitCode = 0;
    if (GetExitCodeProcess(process_.get(), &exitCode))
        written_ = static_cast<long>(exitCode);
    process_.reset();
    std::error_code ignored;
    for (int index = 0; index < 50; ++index)
        std::filesystem::remove(FloodFile(folder_, index), ignored);
    return written_;
}
