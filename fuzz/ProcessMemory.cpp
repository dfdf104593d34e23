// See ProcessMemory.h.
#include "ProcessMemory.h"

#include <windows.h>
#include <psapi.h>

std::size_t PrivateBytes() noexcept
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof counters))
        return 0;
    // Wine leaves PrivateUsage at 0; the page file usage is the same figure, the
    // process's committed private memory.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}
