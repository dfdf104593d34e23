// Stands in for the runtime's TLS directory (_tls_used, which the linker names
// in the image header) and its bounds: the loader gives every thread a copy of
// the module's .tls data and stores its slot in _tls_index. The compiler's
// thread-safe statics keep their epoch in a thread-local variable.
#include <windows.h>

extern "C" {

ULONG _tls_index = 0;

#pragma section(".tls", read, write)
#pragma section(".tls$ZZZ", read, write)
__declspec(allocate(".tls")) char _tls_start = 0;
__declspec(allocate(".tls$ZZZ")) char _tls_end = 0;

#pragma section(".CRT$XLA", long, read)
#pragma section(".CRT$XLZ", long, read)
__declspec(allocate(".CRT$XLA")) PIMAGE_TLS_CALLBACK __xl_a = nullptr;
__declspec(allocate(".CRT$XLZ")) PIMAGE_TLS_CALLBACK __xl_z = nullptr;

#pragma section(".rdata$T", long, read)
extern const __declspec(allocate(".rdata$T")) IMAGE_TLS_DIRECTORY64 _tls_used = {
    reinterpret_cast<ULONGLONG>(&_tls_start),
    reinterpret_cast<ULONGLONG>(&_tls_end),
    reinterpret_cast<ULONGLONG>(&_tls_index),
    reinterpret_cast<ULONGLONG>(&__xl_a + 1),
    0,
    0,
};
}
