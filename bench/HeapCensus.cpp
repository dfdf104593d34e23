// The live heap memory of this process, found by walking its heaps.
#include "HeapCensus.h"

#include <windows.h>

#include <vector>

namespace {

void CountBusyBlocks(HANDLE heap, HeapCensus& census)
{
    if (!HeapLock(heap))
        return;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heap, &entry)) {
        if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
            census.busyBytes += entry.cbData;
            ++census.busyBlocks;
        }
    }
    HeapUnlock(heap);
}

}  // namespace

HeapCensus TakeHeapCensus()
{
    std::vector<HANDLE> heaps;
    DWORD count = GetProcessHeaps(0, nullptr);
    do {
        heaps.resize(count + 8);
        count = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
    } while (count > heaps.size());
    heaps.resize(count);
    HeapCensus census;
    for (HANDLE heap : heaps)
        CountBusyBlocks(heap, census);
    return census;
}
