// A stand-in process for tests of the catalog process control: copied under the
// catalog's executable names, it runs until told to quit (WM_QUIT to its window),
// terminated, or its time is up, optionally with a top-level window of a given
// title. Arguments: [--title TEXT] [--seconds N]; anything else is ignored, so it
// also accepts the catalog's own command line (and then ends at once). When the
// variable FAKE_PARENT_THREADS names a file, it first appends to it how many
// threads the process FAKE_PARENT_ID (its starter) has at that moment.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

namespace {

constexpr UINT_PTR LIFETIME_TIMER = 1;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER || message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(const std::string& title)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TarnvelFakeCatalogProcess";
    RegisterClassW(&windowClass);
    return CreateWindowA("TarnvelFakeCatalogProcess", title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0,
                         200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
}

long ThreadsOf(DWORD processId)
{
    long count = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == processId ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

void ReportParentThreads()
{
    char path[MAX_PATH] = {};
    char parent[16] = {};
    if (GetEnvironmentVariableA("FAKE_PARENT_THREADS", path, sizeof path) &&
        GetEnvironmentVariableA("FAKE_PARENT_ID", parent, sizeof parent))
        std::ofstream(path, std::ios::app) << ThreadsOf(std::strtoul(parent, nullptr, 10)) << "\n";
}

}  // namespace

int main(int argc, char** argv)
{
    ReportParentThreads();
    std::string title;
    bool withWindow = false;
    int seconds = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--title") == 0) {
            title = argv[++i];
            withWindow = true;
        } else if (std::strcmp(argv[i], "--seconds") == 0) {
            seconds = std::atoi(argv[++i]);
        }
    }
    if (seconds <= 0)
        return 0;
    HWND window = withWindow ? MakeWindow(title) : nullptr;
    SetTimer(window, LIFETIME_TIMER, static_cast<UINT>(seconds) * 1000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && !window)
            break;
        DispatchMessageW(&message);
    }
    if (window)
        DestroyWindow(window);
    return 0;
}
