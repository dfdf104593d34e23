// The live heap memory of this process: the bytes of every busy block in every
// heap of the process, found by walking the heaps. Unlike private bytes it drops
// when memory is freed, so it tells what is still held from what the heaps keep
// for later.
#pragma once

struct HeapCensus {
    double busyBytes = 0;
    long busyBlocks = 0;
};

// Walks every heap of the process, each under its lock.
HeapCensus TakeHeapCensus();
