// The catalog's processes as the host machine sees them.
#include "CatalogProcessList.h"

#include <windows.h>

#include <tlhelp32.h>

#include <functional>

namespace simcad {

namespace {

bool IsViewer(const char* exe) { return _stricmp(exe, "pvestra.exe") == 0; }
bool IsScriptHost(const char* exe) { return _stricmp(exe, "cscripthost.exe") == 0; }

void ForEachProcess(const std::function<void(const PROCESSENTRY32&)>& visit)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        visit(entry);
    CloseHandle(snapshot);
}

}  // namespace

CatalogProcessCount CountCatalogProcesses()
{
    CatalogProcessCount count;
    ForEachProcess([&](const PROCESSENTRY32& entry) {
        count.viewers += IsViewer(entry.szExeFile);
        count.scriptHosts += IsScriptHost(entry.szExeFile);
    });
    return count;
}

int TerminateCatalogProcesses()
{
    int terminated = 0;
    ForEachProcess([&](const PROCESSENTRY32& entry) {
        if (!IsViewer(entry.szExeFile) && !IsScriptHost(entry.szExeFile))
            return;
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
        if (!process)
            return;
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
        ++terminated;
    });
    return terminated;
}

}  // namespace simcad
