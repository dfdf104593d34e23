// End-to-end test helpers: the catalog tree, the plug-in's command line, waits with
// deadlines, and ending every catalog process of the Wine session.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

namespace catalog::testing {

std::string scriptHostPath();
std::string startScriptPath();

// The script host's command line exactly as the plug-in builds it.
std::string pluginCommandLine(const std::string& path, const std::string& format,
                              const std::optional<std::string>& mident = std::nullopt,
                              const std::string& startScript = startScriptPath());

bool waitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

std::optional<DWORD> waitForExitCode(HANDLE process, DWORD timeoutMs);

std::size_t countViewers();

HWND waitForViewerWindow(DWORD timeoutMs);

// Asks every viewer to quit, then terminates what still runs at the deadline; true
// when nothing was left to terminate.
bool endCatalogProcesses();

}  // namespace catalog::testing
