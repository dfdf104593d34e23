// Stands in for the runtime's per-module atexit: every module (DLL or exe) keeps
// its own table of functions to call at its end, so that a DLL's static objects
// are destroyed when the DLL is unloaded, not when the process ends. The compiler
// registers each static object's destructor with atexit.
#include <stdlib.h>

#include "StartupTables.h"

extern "C" {
_onexit_table_t __tarnvel_module_exit_table = {};

int __cdecl atexit(_PVFV function)
{
    return _register_onexit_function(&__tarnvel_module_exit_table,
               reinterpret_cast<_onexit_t>(function)) == 0
        ? 0
        : -1;
}

_onexit_t __cdecl _onexit(_onexit_t function)
{
    return _register_onexit_function(&__tarnvel_module_exit_table, function) == 0
        ? function
        : nullptr;
}
}

void RunModuleExitTable()
{
    _execute_onexit_table(&__tarnvel_module_exit_table);
}
