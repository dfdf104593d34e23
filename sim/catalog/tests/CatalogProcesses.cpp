// End-to-end test helpers; see CatalogProcesses.h.
#include "tests/CatalogProcesses.h"

#include "automation/CatalogAutomation.h"
#include "common/CatalogRoot.h"
#include "common/FileIo.h"
#include "common/ViewerWindows.h"

#include <tlhelp32.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace catalog::testing {

namespace {

constexpr DWORD kCleanUpDeadlineMs = 12000;

std::string toWindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    // A Linux path of the build tree is reached through drive Z: when run under Wine.
    return path.rfind("\\", 0) == 0 ? "Z:" + path : path;
}

bool sameNameIgnoringCase(const char* a, const std::string& b) {
    return lstrcmpiA(a, b.c_str()) == 0;
}

}  // namespace

std::string catalogRoot() { return toWindowsPath(CATALOG_ROOT_FOR_TESTS); }

std::string scriptHostPath() { return catalogRoot() + "\\bin\\x86\\64\\cscripthost.exe"; }

std::string startScriptPath() {
    return catalogRoot() + "\\setup\\scripts\\common\\startvestra_tarnvel.vbb";
}

std::string pluginCommandLine(const std::string& path, const std::string& format,
                              const std::optional<std::string>& mident) {
    std::string line = "\"" + scriptHostPath() + "\" \"" + startScriptPath() +
                       "\" -cadname \"BRENVIKCAD\" -path \"" + path + "\" -format \"" + format + "\"";
    if (mident) line += " -mident \"" + *mident + "\"";
    return line;
}

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (true) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
}

std::optional<DWORD> waitForExitCode(HANDLE process, DWORD timeoutMs) {
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

bool isRunning(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_TIMEOUT; }

std::vector<DWORD> processIdsNamed(const std::string& exeName) {
    std::vector<DWORD> ids;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more;
         more = Process32Next(snapshot.get(), &entry)) {
        if (sameNameIgnoringCase(entry.szExeFile, exeName)) ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

LogWatcher::LogWatcher() {
    startOffset_ = readWholeFile(catalogLogPath(catalogRoot())).value_or("").size();
}

std::string LogWatcher::newText() const {
    const std::string text = readWholeFile(catalogLogPath(catalogRoot())).value_or("");
    return text.size() > startOffset_ ? text.substr(startOffset_) : std::string();
}

CatalogSession::~CatalogSession() { cleanUp(); }

CatalogSession::Started CatalogSession::startScriptHost(const std::string& commandLine) {
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                        nullptr, nullptr, &startup, &info)) {
        throw std::runtime_error("cannot start the script host: " + lastErrorText());
    }
    UniqueHandle thread(info.hThread);
    hosts_.emplace_back(info.hProcess);
    return Started{info.hProcess, info.dwProcessId};
}

HWND CatalogSession::waitForViewerWindow(DWORD timeoutMs) {
    HWND window = nullptr;
    waitUntil([&] { return isViewerReady(window = findViewerWindow()); }, timeoutMs);
    if (!isViewerReady(window)) return nullptr;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (std::find(viewerIds_.begin(), viewerIds_.end(), processId) == viewerIds_.end()) {
        viewerIds_.push_back(processId);
        viewers_.emplace_back(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION,
                                          FALSE, processId));
    }
    return window;
}

HWND CatalogSession::startViewer(const std::string& path, const std::string& format,
                                 const std::optional<std::string>& mident) {
    const Started host = startScriptHost(pluginCommandLine(path, format, mident));
    const auto exitCode = waitForExitCode(host.process, 15000);
    if (!exitCode || *exitCode != 0) return nullptr;
    return waitForViewerWindow(5000);
}

int CatalogSession::terminateViewers() {
    int count = 0;
    for (auto& process : viewers_) {
        if (process && TerminateProcess(process.get(), 99)) ++count;
    }
    for (auto& process : viewers_) {
        if (process) WaitForSingleObject(process.get(), kCleanUpDeadlineMs);
    }
    return count;
}

void CatalogSession::cleanUp() {
    quitAllCatalogViewers();
    const ULONGLONG deadline = GetTickCount64() + kCleanUpDeadlineMs;
    auto remainingMs = [&] {
        const ULONGLONG now = GetTickCount64();
        return static_cast<DWORD>(now < deadline ? deadline - now : 0);
    };
    for (auto* group : {&viewers_, &hosts_}) {
        for (auto& process : *group) {
            if (process && WaitForSingleObject(process.get(), remainingMs()) != WAIT_OBJECT_0) {
                TerminateProcess(process.get(), 99);
                WaitForSingleObject(process.get(), 2000);
            }
        }
        group->clear();
    }
    viewerIds_.clear();
}

ScopedEnvironment::ScopedEnvironment(const std::string& name, const std::string& value)
    : name_(name) {
    char buffer[512] = {};
    const DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) previous_ = std::string(buffer, length);
    SetEnvironmentVariableA(name.c_str(), value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
    SetEnvironmentVariableA(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
}

}  // namespace catalog::testing
