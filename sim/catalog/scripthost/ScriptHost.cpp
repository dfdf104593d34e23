// Script host logic; see ScriptHost.h.
#include "scripthost/ScriptHost.h"

#include "common/CatalogLog.h"
#include "common/CatalogMessages.h"
#include "common/CatalogRoot.h"
#include "common/CommandLine.h"
#include "common/HandOver.h"
#include "common/Options.h"
#include "common/StartScript.h"
#include "common/UniqueHandle.h"
#include "common/ViewerWindows.h"
#include "scripthost/ProcessStart.h"

#include <windows.h>

namespace catalog {

namespace {

// A real script host spends this long loading its script; it also makes the "host
// running, viewer not yet" phase long enough for other processes to see it.
constexpr DWORD kScriptLoadTimeMs = 300;
constexpr DWORD kViewerWindowDeadlineMs = 10000;
constexpr DWORD kHandOverTimeoutMs = 5000;
constexpr DWORD kLockDeadlineMs = 20000;
constexpr char kStartLockName[] = "Local\\TarnvelCatalogScriptHostStart";

int handOver(HWND viewer, const CatalogOptions& options) {
    if (!sendCopyData(viewer, nullptr, kHandOverCommand, encodeHandOver(options),
                      kHandOverTimeoutMs)) {
        logLine("hand-over to the running viewer failed (gone or not answering)");
        return kHandOverFailed;
    }
    logLine("handed the command over to the running viewer");
    return kSuccess;
}

// Polls until the child's window is ready (shown), the deadline passes or the child exits.
HWND waitForViewerWindow(const StartedProcess& viewer) {
    const ULONGLONG deadline = GetTickCount64() + kViewerWindowDeadlineMs;
    while (GetTickCount64() < deadline) {
        HWND window = findViewerWindowOfProcess(viewer.processId);
        if (isViewerReady(window)) return window;
        if (WaitForSingleObject(viewer.process.get(), 20) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
}

int startViewer(const std::string& viewerPath, const std::string& root,
                const CatalogOptions& options) {
    Sleep(kScriptLoadTimeMs);
    const std::string commandLine = buildViewerCommandLine(viewerPath, options);
    StartedProcess viewer = startProcess(commandLine, root);
    if (!viewer.ok()) {
        logLine(viewer.error);
        return kViewerStartFailed;
    }
    logLine("started viewer pid " + std::to_string(viewer.processId) + ": " + commandLine);
    if (waitForViewerWindow(viewer) == nullptr) {
        logLine("viewer window did not appear within 10 s; ending the viewer");
        TerminateProcess(viewer.process.get(), 1);
        return kViewerWindowTimeout;
    }
    logLine("viewer window is up");
    return kSuccess;
}

// Hand over or start, while holding the start lock: two script hosts started at
// once must not both start a viewer; the second one hands over to the first's.
int handOverOrStart(const std::string& viewerPath, const std::string& root,
                    const CatalogOptions& options) {
    UniqueHandle lock(CreateMutexA(nullptr, FALSE, kStartLockName));
    const DWORD waited = lock ? WaitForSingleObject(lock.get(), kLockDeadlineMs) : WAIT_FAILED;
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        logLine("another script host is busy starting the viewer; giving up");
        return kBusy;
    }
    HWND running = findViewerWindow();
    const int result = running ? handOver(running, options) : startViewer(viewerPath, root, options);
    ReleaseMutex(lock.get());
    return result;
}

}  // namespace

int runScriptHost(const std::string& commandLine, const std::string& language,
                  const std::string& catalogRoot) {
    logLine("start: " + commandLine);
    const TokenizeResult tokens = tokenizeCommandLine(commandLine);
    if (!tokens.ok()) {
        logLine("bad command line: " + tokens.error);
        return kBadCommandLine;
    }
    auto arguments = parseScriptHostArguments(tokens.tokens);
    if (!arguments.ok()) {
        logLine("bad command line: " + arguments.error);
        return kBadCommandLine;
    }
    arguments.value.options.language = language;
    logLine("options: " + describeOptions(arguments.value.options) +
            " MERIDAX_LANGUAGE=" + (language.empty() ? "(not set)" : language));

    const StartScript script = readStartScript(arguments.value.scriptPath);
    if (!script.ok()) {
        logLine(script.error);
        return kBadStartScript;
    }
    const std::string viewerPath = joinPath(catalogRoot, script.viewerPath);
    return handOverOrStart(viewerPath, catalogRoot, arguments.value.options);
}

}  // namespace catalog
