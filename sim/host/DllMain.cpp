// Makes the thread that loads the host stand-in its main thread, before any other
// thread can ask.
#include "MainLoop.h"

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        sim::MainLoop::instance();
    return TRUE;
}
