// Finding viewer windows by their class name (never by title, which the user's
// language or a test may change).
#pragma once

#include <windows.h>

#include <vector>

namespace catalog {

std::vector<HWND> allViewerWindows();

// Any viewer window, or nullptr.
HWND findViewerWindow();

// The viewer window owned by that process, or nullptr.
HWND findViewerWindowOfProcess(DWORD processId);

// A viewer shows its window once it has filled its lists and takes commands.
bool isViewerReady(HWND window);

}  // namespace catalog
