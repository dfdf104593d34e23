// Starts the test stand-in process under a catalog executable name.
#include "FakeProcess.h"

#include <vector>

std::filesystem::path FakeProcess::Program()
{
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return std::filesystem::path(buffer).parent_path() / "fake_catalog_process.exe";
}

FakeProcess::FakeProcess(const std::filesystem::path& folder, const std::string& exeName,
                         const std::string& title, int seconds)
{
    std::filesystem::create_directories(folder);
    std::filesystem::path program = folder / exeName;
    std::filesystem::copy_file(Program(), program, std::filesystem::copy_options::overwrite_existing);
    std::string commandLine = "\"" + program.string() + "\" --seconds " + std::to_string(seconds);
    if (!title.empty())
        commandLine += " --title \"" + title + "\"";
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(program.string().c_str(), writable.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &info))
        return;
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    if (!title.empty())
        WaitUntil([&] { return FindWindowA("TarnvelFakeCatalogProcess", title.c_str()) != nullptr; },
                  std::chrono::seconds(10));
}

FakeProcess::~FakeProcess()
{
    Terminate();
    if (process_)
        CloseHandle(process_);
}

bool FakeProcess::WaitForExit(std::chrono::milliseconds timeout) const
{
    return process_ && WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void FakeProcess::Terminate()
{
    if (process_ && !WaitForExit(std::chrono::milliseconds(0))) {
        TerminateProcess(process_, 1);
        WaitForExit(std::chrono::seconds(5));
    }
}
