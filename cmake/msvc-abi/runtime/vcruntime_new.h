// Stands in for vcruntime_new.h, the compiler runtime's closed header that
// declares the replaceable operators new and delete, the placement forms,
// std::nothrow and std::align_val_t. The replaceable ones are defined in the
// static start-up part of this build (startup/OperatorNew.cpp), as the
// runtime's static library defines them for every module.
#pragma once
#include <vcruntime.h>

#pragma pack(push, _CRT_PACKING)

extern "C++" {

namespace std {
struct nothrow_t {
    explicit nothrow_t() = default;
};
extern nothrow_t const nothrow;

#ifdef __cpp_aligned_new
enum class align_val_t : size_t {};
#endif
} // namespace std

#ifndef __NOTHROW_T_DEFINED
#define __NOTHROW_T_DEFINED
#endif

[[nodiscard]] void* __cdecl operator new(size_t _Size);
[[nodiscard]] void* __cdecl operator new(size_t _Size, std::nothrow_t const&) noexcept;
[[nodiscard]] void* __cdecl operator new[](size_t _Size);
[[nodiscard]] void* __cdecl operator new[](size_t _Size, std::nothrow_t const&) noexcept;
void __cdecl operator delete(void* _Block) noexcept;
void __cdecl operator delete(void* _Block, std::nothrow_t const&) noexcept;
void __cdecl operator delete[](void* _Block) noexcept;
void __cdecl operator delete[](void* _Block, std::nothrow_t const&) noexcept;
void __cdecl operator delete(void* _Block, size_t _Size) noexcept;
void __cdecl operator delete[](void* _Block, size_t _Size) noexcept;

#ifdef __cpp_aligned_new
[[nodiscard]] void* __cdecl operator new(size_t _Size, std::align_val_t _Al);
[[nodiscard]] void* __cdecl operator new(size_t _Size, std::align_val_t _Al, std::nothrow_t const&) noexcept;
[[nodiscard]] void* __cdecl operator new[](size_t _Size, std::align_val_t _Al);
[[nodiscard]] void* __cdecl operator new[](size_t _Size, std::align_val_t _Al, std::nothrow_t const&) noexcept;
void __cdecl operator delete(void* _Block, std::align_val_t _Al) noexcept;
void __cdecl operator delete(void* _Block, std::align_val_t _Al, std::nothrow_t const&) noexcept;
void __cdecl operator delete[](void* _Block, std::align_val_t _Al) noexcept;
void __cdecl operator delete[](void* _Block, std::align_val_t _Al, std::nothrow_t const&) noexcept;
void __cdecl operator delete(void* _Block, size_t _Size, std::align_val_t _Al) noexcept;
void __cdecl operator delete[](void* _Block, size_t _Size, std::align_val_t _Al) noexcept;
#endif

#ifndef __PLACEMENT_NEW_INLINE
#define __PLACEMENT_NEW_INLINE
[[nodiscard]] inline void* __cdecl operator new(size_t, void* _Where) noexcept {
    return _Where;
}
inline void __cdecl operator delete(void*, void*) noexcept {}
#endif

#ifndef __PLACEMENT_VEC_NEW_INLINE
#define __PLACEMENT_VEC_NEW_INLINE
[[nodiscard]] inline void* __cdecl operator new[](size_t, void* _Where) noexcept {
    return _Where;
}
inline void __cdecl operator delete[](void*, void*) noexcept {}
#endif

} // extern "C++"

#pragma pack(pop)
