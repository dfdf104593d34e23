// Stands in for the runtime's replaceable operators new and delete and
// std::nothrow, which its static library defines in every module: memory comes
// from the CRT's heap (ucrtbase.dll); a failed allocation asks the new handler
// and then throws std::bad_alloc.
#include <new.h>
#include <vcruntime_exception.h>
#include <stdlib.h>

extern "C" int __cdecl _callnewh(size_t size);

const std::nothrow_t std::nothrow{};

namespace {

void* AllocateOrNull(size_t size) noexcept
{
    for (;;) {
        if (void* block = malloc(size ? size : 1))
            return block;
        if (_callnewh(size) == 0)
            return nullptr;
    }
}

void* Allocate(size_t size)
{
    if (void* block = AllocateOrNull(size))
        return block;
    throw std::bad_alloc();
}

} // namespace

void* __cdecl operator new(size_t size) { return Allocate(size); }
void* __cdecl operator new[](size_t size) { return Allocate(size); }
void* __cdecl operator new(size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void* __cdecl operator new[](size_t size, const std::nothrow_t&) noexcept { return AllocateOrNull(size); }
void __cdecl operator delete(void* block) noexcept { free(block); }
void __cdecl operator delete[](void* block) noexcept { free(block); }
void __cdecl operator delete(void* block, size_t) noexcept { free(block); }
void __cdecl operator delete[](void* block, size_t) noexcept { free(block); }
void __cdecl operator delete(void* block, const std::nothrow_t&) noexcept { free(block); }
void __cdecl operator delete[](void* block, const std::nothrow_t&) noexcept { free(block); }
