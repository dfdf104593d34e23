// Stands in for the runtime's /GS support: the module's stack cookie, set
// once at start from values that differ between processes, and the check that
// the compiler calls before a protected function returns (a mismatch ends the
// process through vcruntime140.dll's __report_gsfailure).
#include <windows.h>

#include <vcruntime.h>

extern "C" {

uintptr_t __security_cookie = 0x00002B992DDFA232ull;

void __cdecl __security_init_cookie(void)
{
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    uintptr_t cookie = static_cast<uintptr_t>(counter.QuadPart) ^ GetCurrentProcessId()
        ^ (static_cast<uintptr_t>(GetCurrentThreadId()) << 32)
        ^ reinterpret_cast<uintptr_t>(&cookie);
    cookie &= 0x0000FFFFFFFFFFFFull;
    if (cookie == 0)
        cookie = 0x00002B992DDFA232ull;
    __security_cookie = cookie;
}

void __cdecl __security_check_cookie(uintptr_t cookie)
{
    if (cookie != __security_cookie)
        __report_gsfailure(cookie);
}
}
