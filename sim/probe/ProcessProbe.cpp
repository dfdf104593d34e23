// What the system sees of the host's process and of the catalog's processes.
#include "ProcessProbe.h"

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <functional>
#include <vector>

namespace probe {

namespace {

// Every TLS index a process can have: the fixed slots and the expansion slots.
constexpr long TLS_INDEXES = 64 + 1024;

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

long ThreadCount()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    long count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId() ? 1 : 0;
    CloseHandle(snapshot);
    return count;
}

long HandleCount()
{
    long count = 0;
    DWORD flags = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4)
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    return count;
}

// Takes every free index to count them, then gives them all back.
long TlsIndexesInUse()
{
    std::vector<DWORD> taken;
    for (DWORD index = TlsAlloc(); index != TLS_OUT_OF_INDEXES; index = TlsAlloc())
        taken.push_back(index);
    for (DWORD index : taken)
        TlsFree(index);
    return TLS_INDEXES - static_cast<long>(taken.size());
}

double PrivateMegabytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return counters.PagefileUsage / 1048576.0;
}

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

}  // namespace probe
