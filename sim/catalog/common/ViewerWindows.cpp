// Viewer window look-up; see ViewerWindows.h.
#include "common/ViewerWindows.h"

#include "common/CatalogMessages.h"

#include <cstring>

namespace catalog {

namespace {

BOOL CALLBACK collectViewerWindow(HWND window, LPARAM context) {
    char className[256] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, kViewerWindowClass) == 0) {
        reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> allViewerWindows() {
    std::vector<HWND> windows;
    EnumWindows(collectViewerWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

HWND findViewerWindow() { return FindWindowA(kViewerWindowClass, nullptr); }

HWND findViewerWindowOfProcess(DWORD processId) {
    for (HWND window : allViewerWindows()) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) return window;
    }
    return nullptr;
}

bool isViewerReady(HWND window) { return window != nullptr && IsWindowVisible(window); }

}  // namespace catalog
