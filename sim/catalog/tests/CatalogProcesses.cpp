// End-to-end test helpers; see CatalogProcesses.h.
#include "tests/CatalogProcesses.h"

#include "automation/CatalogAutomation.h"
#include "common/UniqueHandle.h"
#include "common/ViewerWindows.h"

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

namespace catalog::testing {

namespace {

constexpr DWORD kCleanUpDeadlineMs = 12000;
const char* const kCatalogPrograms[] = {"pvestra.exe", "cscripthost.exe"};

// A Linux path of the build tree is reached through drive Z: under Wine.
std::string catalogRoot() {
    std::string path = CATALOG_ROOT_FOR_TESTS;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path.rfind("\\", 0) == 0 ? "Z:" + path : path;
}

std::vector<DWORD> processIdsNamed(const std::string& exeName) {
    std::vector<DWORD> ids;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot || snapshot.get() == INVALID_HANDLE_VALUE) return ids;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        if (lstrcmpiA(entry.szExeFile, exeName.c_str()) == 0) ids.push_back(entry.th32ProcessID);
    }
    return ids;
}

bool anyCatalogProcessRuns() {
    return std::any_of(std::begin(kCatalogPrograms), std::end(kCatalogPrograms),
                       [](const char* name) { return countProcessesNamed(name) > 0; });
}

}  // namespace

std::string scriptHostPath() { return catalogRoot() + "\\bin\\x86\\64\\cscripthost.exe"; }

std::string startScriptPath() { return catalogRoot() + "\\setup\\scripts\\common\\startvestra_tarnvel.vbb"; }

std::string pluginCommandLine(const std::string& path, const std::string& format,
                              const std::optional<std::string>& mident, const std::string& startScript) {
    std::string line = "\"" + scriptHostPath() + "\" \"" + startScript + "\" -cadname \"BRENVIKCAD\" -path \"" +
                       path + "\" -format \"" + format + "\"";
    if (mident) line += " -mident \"" + *mident + "\"";
    return line;
}

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
    return true;
}

std::optional<DWORD> waitForExitCode(HANDLE process, DWORD timeoutMs) {
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

std::size_t countProcessesNamed(const std::string& exeName) { return processIdsNamed(exeName).size(); }

HWND waitForViewerWindow(DWORD timeoutMs) {
    HWND window = nullptr;
    return waitUntil([&] { return isViewerReady(window = findViewerWindow()); }, timeoutMs) ? window : nullptr;
}

bool endCatalogProcesses() {
    quitAllCatalogViewers();
    if (waitUntil([] { return !anyCatalogProcessRuns(); }, kCleanUpDeadlineMs)) return true;
    for (const char* name : kCatalogPrograms) {
        for (const DWORD id : processIdsNamed(name)) {
            UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
            if (process && TerminateProcess(process.get(), 99)) WaitForSingleObject(process.get(), 2000);
        }
    }
    return false;
}

}  // namespace catalog::testing
