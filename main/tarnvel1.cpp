// The DLL's own file: the loader's notifications. Everything else of the
// library lives in the static library that tests link too.
#include "tarnvelMain.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved)
{
    // A null `reserved` means FreeLibrary while the process goes on; otherwise the
    // process is exiting and its other threads are already gone.
    if (reason == DLL_PROCESS_DETACH)
        tarnvel::DestroyPluginAtUnload(reserved ? tarnvel::UnloadKind::ProcessExit
                                                : tarnvel::UnloadKind::LibraryUnload);
    return TRUE;
}
