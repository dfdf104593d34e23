// Starting, finding, raising and closing the catalog's processes. Whether the
// catalog runs is always found out anew, by executable name, from a snapshot of
// all processes; its window is found by its title. The library never starts the
// viewer itself and keeps no handle of a process it started.
#include "MERIDAX_plugin.h"

#include "DebugWarning.h"
#include "GlobalStrings.h"
#include "MERIDAX_tarnvel_thread.h"
#include "UniqueHandle.h"

#include <tlhelp32.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const VIEWER_EXE = "pvestra.exe";
const char* const SCRIPT_HOST_EXE = "cscripthost.exe";
constexpr DWORD ALL_ACCESS_RIGHTS = 0x1FFFFF;
constexpr UINT TERMINATED_EXIT_CODE = 1;
constexpr int WINDOW_TITLE_BUFFER = 80;

static_assert(sizeof(STARTUPINFOA) == 104, "the start-up block of a 64-bit process");

int WithViewer(int state)
{
    return state == NotRunning ? ViewerOnly : state == ScriptHostOnly ? Both : state;
}

int WithScriptHost(int state)
{
    return state == NotRunning ? ScriptHostOnly : state == ViewerOnly ? Both : state;
}

std::string LowerCase(const std::string& text)
{
    std::string lower = text;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool EnumerateCatalogWindows(int mode)
{
    return EnumWindows(CatalogWindowProc, reinterpret_cast<LPARAM>(&mode)) != FALSE;
}

void TerminateViewers(const std::vector<DWORD>& processIds)
{
    for (DWORD processId : processIds) {
        UniqueHandle process(OpenProcess(ALL_ACCESS_RIGHTS, FALSE, processId));
        TerminateProcess(process.get(), TERMINATED_EXIT_CODE);
    }
}

}  // namespace

bool IsCatalogWindowTitle(const char* title)
{
    return LowerCase(title) == LowerCase(g_productName.string());
}

// The catalog is always a process of its own, so windows of the host's process
// are passed by. Asking one of them for its title would send it a message and
// wait for its thread, which may itself wait for the loader lock that an unload
// holds while it closes the catalog.
BOOL CALLBACK CatalogWindowProc(HWND window, LPARAM modePointer)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == GetCurrentProcessId())
        return TRUE;
    // NOLINTNEXTLINE(performance-no-int-to-ptr): EnumWindows hands the mode's address through
    int mode = modePointer ? *reinterpret_cast<const int*>(modePointer) : Query;
    char title[WINDOW_TITLE_BUFFER] = {};
    GetWindowTextA(window, title, sizeof title);
    if (IsCatalogWindowTitle(title)) {
        if (mode == Close)
            PostMessageA(window, WM_QUIT, 0, 0);
        else if (mode == Raise)
            SetForegroundWindow(window);
    }
    return TRUE;
}

bool MERIDAX_plugin::SendTVLCommand(const UtCString& commandLine)
{
    StopWatching();
    startupInfo = STARTUPINFOA{};
    startupInfo.cb = sizeof startupInfo;
    processInfo = PROCESS_INFORMATION{};

    UtCString application = rootDir + g_scriptHostExe;
    std::vector<char> writableCommandLine(commandLine.c_str(),
                                          commandLine.c_str() + commandLine.length() + 1);
    if (!CreateProcessA(application.c_str(), writableCommandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startupInfo, &processInfo)) {
        Debug::Warning warning("MERIDAX_plugin", "SendTVLCommand", 532);
        warning << "tarnvel: CreateProcess function failed";
        return false;
    }
    // Nothing waits on the script host, so its handles are closed at once rather
    // than kept until the next launch; the ids stay for whoever looks.
    UniqueHandle(processInfo.hProcess).reset();
    UniqueHandle(processInfo.hThread).reset();
    processInfo.hProcess = processInfo.hThread = nullptr;

    watcher.reset(new MERIDAX_tarnvel_thread(*this));
    return true;
}

int MERIDAX_plugin::FindCatalogProcesses(int mode) const
{
    int state = NotRunning;
    std::vector<DWORD> viewers;
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    if (snapshot && Process32First(snapshot.get(), &entry)) {
        do {
            if (_stricmp(entry.szExeFile, VIEWER_EXE) == 0) {
                viewers.push_back(entry.th32ProcessID);
                state = WithViewer(state);
            } else if (_stricmp(entry.szExeFile, SCRIPT_HOST_EXE) == 0) {
                state = WithScriptHost(state);
            }
        } while (Process32Next(snapshot.get(), &entry));
    }

    if (mode == Close && !viewers.empty() && EnumerateCatalogWindows(Close)) {
        TerminateViewers(viewers);
        state = NotRunning;
    } else if (mode == Raise && state == Both) {
        EnumerateCatalogWindows(Raise);
    }
    return state;
}

void MERIDAX_plugin::CloseCatalog()
{
    StopWatching();
    CloseCatalogProcesses();
}

void MERIDAX_plugin::CloseCatalogProcesses()
{
    if (EnumerateCatalogWindows(Close))
        FindCatalogProcesses(Close);
}
