// Stands in for the start of the runtime's program entry points: set the /GS
// cookie, have the module's atexit table run at exit (exit runs every atexit
// function and flushes the C streams), run the initializers and read the
// command line into __argc and __argv. ConsoleEntry.cpp and WindowedEntry.cpp
// then call main or WinMain.
#include <stdlib.h>

#include "StartupTables.h"

namespace {

void __cdecl RunExitTableAtExit()
{
    RunModuleExitTable();
}

} // namespace

void StartProgram()
{
    __security_init_cookie();
    _initialize_onexit_table(&__tarnvel_module_exit_table);
    _crt_atexit(RunExitTableAtExit);
    if (!RunModuleInitializers())
        _exit(255);
    _configure_narrow_argv(_crt_argv_unexpanded_arguments);
}
