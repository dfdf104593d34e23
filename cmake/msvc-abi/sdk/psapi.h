// Completes Wine's psapi.h: PROCESS_MEMORY_COUNTERS_EX (the counters with the
// process's private bytes), which the real SDK declares and GetProcessMemoryInfo
// fills when given its size.
#pragma once
#include_next <psapi.h>

#ifndef PROCESS_MEMORY_COUNTERS_EX
typedef struct _PROCESS_MEMORY_COUNTERS_EX {
    DWORD cb;
    DWORD PageFaultCount;
    SIZE_T PeakWorkingSetSize;
    SIZE_T WorkingSetSize;
    SIZE_T QuotaPeakPagedPoolUsage;
    SIZE_T QuotaPagedPoolUsage;
    SIZE_T QuotaPeakNonPagedPoolUsage;
    SIZE_T QuotaNonPagedPoolUsage;
    SIZE_T PagefileUsage;
    SIZE_T PeakPagefileUsage;
    SIZE_T PrivateUsage;
} PROCESS_MEMORY_COUNTERS_EX, *PPROCESS_MEMORY_COUNTERS_EX;
#endif
