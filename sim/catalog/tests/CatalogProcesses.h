// Helpers for end-to-end tests that run the real catalog programs: where the catalog
// tree is, the script host's command line as the plug-in builds it, waiting with
// deadlines, and ending every catalog process of the Wine session after a test.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace catalog::testing {

std::string scriptHostPath();
std::string startScriptPath();

// The script host's command line exactly as the plug-in builds it (with the
// installed start script unless another is given).
std::string pluginCommandLine(const std::string& path, const std::string& format,
                              const std::optional<std::string>& mident = std::nullopt,
                              const std::string& startScript = startScriptPath());

// Polls `condition` every 20 ms until it holds or `timeoutMs` has passed.
bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Exit code once the process has ended within the deadline, otherwise nothing.
std::optional<DWORD> waitForExitCode(HANDLE process, DWORD timeoutMs);

// How many processes with that executable name (e.g. "pvestra.exe") run.
std::size_t countProcessesNamed(const std::string& exeName);

// A viewer window ready for commands within the deadline, otherwise nullptr.
HWND waitForViewerWindow(DWORD timeoutMs);

// Asks every viewer to quit, waits for the catalog's programs to end and terminates
// those still running at the deadline. True when none was left to terminate.
bool endCatalogProcesses();

}  // namespace catalog::testing
