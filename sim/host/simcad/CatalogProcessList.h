// The catalog's processes as the host machine sees them: how many of each program
// run, and an emergency stop for what a failed script left behind.
#pragma once

namespace simcad {

struct CatalogProcessCount {
    int viewers = 0;      // pvestra.exe
    int scriptHosts = 0;  // cscripthost.exe
};

CatalogProcessCount CountCatalogProcesses();

// Terminates every catalog process; returns how many there were.
int TerminateCatalogProcesses();

}  // namespace simcad
