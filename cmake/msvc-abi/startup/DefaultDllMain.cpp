// Stands in for the runtime's default DllMain, linked only into a DLL that
// defines none of its own.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID)
{
    return TRUE;
}
