// Completes Wine's msvcp140.dll: std::this_thread::sleep_for ends in
// _Thrd_sleep_for, which Microsoft's DLL exports and Wine 8's lacks.
#include <windows.h>

#include <xthreads.h>

extern "C" void __stdcall _Thrd_sleep_for(unsigned long milliseconds) noexcept
{
    Sleep(milliseconds);
}
