// What the system sees of the host's process and of the catalog's processes:
// the host's threads, handles, TLS indexes and private memory, and how many
// catalog programs run, with an emergency stop for what a failed run left behind.
// Used by simcad, the tests and the benchmarks alike.
#pragma once

namespace probe {

// This process's threads, from a snapshot of the system's thread list.
long ThreadCount();
// This process's open handles, counted by probing every handle value: the
// system's own count is not available everywhere. About a quarter of a second.
long HandleCount();
// TLS indexes taken in this process: all those not free.
long TlsIndexesInUse();
// This process's commit charge (what Windows reports as private bytes), in MB.
double PrivateMegabytes();

struct CatalogProcessCount {
    int viewers = 0;      // pvestra.exe
    int scriptHosts = 0;  // cscripthost.exe
};

CatalogProcessCount CountCatalogProcesses();

// Terminates every catalog process; returns how many there were.
int TerminateCatalogProcesses();

}  // namespace probe
