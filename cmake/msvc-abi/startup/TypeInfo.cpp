// Stands in for the runtime's static type_info pieces: its out-of-line
// destructor, its vtable (every RTTI record that the compiler makes points to
// it; no module makes it, as no code constructs a type_info) and the root of the list of undecorated names that
// type_info::name caches for the module. The root is an interlocked list head,
// which must be 16-byte aligned (RtlInterlockedPushEntrySList faults otherwise).
#include <vcruntime_typeinfo.h>

extern "C" {
struct __type_info_node {
    alignas(16) unsigned char head[16];
};
__type_info_node __type_info_root_node = {};
}

type_info::~type_info() noexcept {}

namespace {

// The one virtual function, the scalar deleting destructor: no type_info is ever
// made or deleted by code, so it has nothing to do.
void* __cdecl DestroyTypeInfo(type_info* self, unsigned int) noexcept
{
    return self;
}

} // namespace

// The vtable under the name the compiler decorates it with.
extern "C" const void* const type_info_vftable[] __asm__("??_7type_info@@6B@") = {
    reinterpret_cast<const void*>(&DestroyTypeInfo),
};
