// Stands in for the runtime's DLL entry point (_DllMainCRTStartup): on load it
// sets the /GS cookie, makes the module's atexit table and runs the module's
// initializers before DllMain; on unload it runs DllMain, then the atexit table
// (static objects' destructors), and releases the names that type_info::name
// cached for this module.
#include <windows.h>

#include <vcruntime_typeinfo.h>

#include "StartupTables.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);
extern "C" void __cdecl __std_type_info_destroy_list(__type_info_node* root);

namespace {

BOOL AttachModule(HINSTANCE instance, LPVOID reserved)
{
    if (_initialize_onexit_table(&__tarnvel_module_exit_table) != 0)
        return FALSE;
    if (!RunModuleInitializers())
        return FALSE;
    if (DllMain(instance, DLL_PROCESS_ATTACH, reserved))
        return TRUE;
    RunModuleExitTable();
    return FALSE;
}

BOOL DetachModule(HINSTANCE instance, LPVOID reserved)
{
    BOOL result = DllMain(instance, DLL_PROCESS_DETACH, reserved);
    RunModuleExitTable();
    __std_type_info_destroy_list(&__type_info_root_node);
    return result;
}

} // namespace

extern "C" BOOL WINAPI _DllMainCRTStartup(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        __security_init_cookie();
        return AttachModule(instance, reserved);
    }
    if (reason == DLL_PROCESS_DETACH)
        return DetachModule(instance, reserved);
    return DllMain(instance, reason, reserved);
}
