// Stands in for the runtime's static start-up tables: the first and last entry of
// the C initializers (.CRT$XIA, .CRT$XIZ) and of the C++ dynamic initializers
// (.CRT$XCA, .CRT$XCZ). The compiler puts each module's initializers in
// .CRT$XCU (and .CRT$XIU); the linker sorts the sections by name, so they lie
// between these markers.
#include "StartupTables.h"

#pragma section(".CRT$XIA", long, read)
#pragma section(".CRT$XIZ", long, read)
#pragma section(".CRT$XCA", long, read)
#pragma section(".CRT$XCZ", long, read)

extern "C" {
__declspec(allocate(".CRT$XIA")) _PIFV __xi_a[] = {nullptr};
__declspec(allocate(".CRT$XIZ")) _PIFV __xi_z[] = {nullptr};
__declspec(allocate(".CRT$XCA")) _PVFV __xc_a[] = {nullptr};
__declspec(allocate(".CRT$XCZ")) _PVFV __xc_z[] = {nullptr};
}

bool RunModuleInitializers()
{
    if (_initterm_e(__xi_a, __xi_z) != 0)
        return false;
    _initterm(__xc_a, __xc_z);
    return true;
}
