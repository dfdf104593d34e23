// End-to-end test helpers; see CatalogProcesses.h.
#include "tests/CatalogProcesses.h"

#include "automation/CatalogAutomation.h"
#include "common/ViewerWindows.h"

#include <ProcessProbe.h>

#include <algorithm>

namespace catalog::testing {

namespace {

// A Linux path of the build tree is reached through drive Z: under Wine.
std::string catalogRoot() {
    std::string path = CATALOG_ROOT_FOR_TESTS;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path.rfind("\\", 0) == 0 ? "Z:" + path : path;
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

std::size_t countViewers() { return probe::CountCatalogProcesses().viewers; }

HWND waitForViewerWindow(DWORD timeoutMs) {
    HWND window = nullptr;
    return waitUntil([&] { return isViewerReady(window = findViewerWindow()); }, timeoutMs) ? window : nullptr;
}

bool endCatalogProcesses() {
    quitAllCatalogViewers();
    const auto noneRuns = [] {
        const auto count = probe::CountCatalogProcesses();
        return count.viewers + count.scriptHosts == 0;
    };
    return waitUntil(noneRuns, 12000) || probe::TerminateCatalogProcesses() == 0;
}

}  // namespace catalog::testing
