// The static start-up part of the runtime, shared by its files: the tables of
// initializers that the compiler fills (.CRT$XI* for C, .CRT$XC* for C++
// dynamic initialization, sorted by the linker between the markers defined in
// InitializerTables.cpp), and the module's own table of functions to call at its
// end (atexit), which a DLL runs when it is unloaded and an exe at exit.
#pragma once
#include <corecrt_startup.h>
#include <vcruntime.h>

extern "C" {
extern _PIFV __xi_a[];
extern _PIFV __xi_z[];
extern _PVFV __xc_a[];
extern _PVFV __xc_z[];
extern _onexit_table_t __tarnvel_module_exit_table;

// ucrtbase.dll's callers of a table of initializers; Wine's headers lack them.
__declspec(dllimport) void __cdecl _initterm(_PVFV* first, _PVFV* last);
__declspec(dllimport) int __cdecl _initterm_e(_PIFV* first, _PIFV* last);
}

// Runs the module's initializers; false when a C initializer failed.
bool RunModuleInitializers();
// Calls the module's atexit functions, last registered first.
void RunModuleExitTable();
// The common start of a program, before main or WinMain.
void StartProgram();
