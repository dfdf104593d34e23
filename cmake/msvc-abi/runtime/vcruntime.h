// Stands in for vcruntime.h, the compiler runtime's closed base header: the
// macros and basic types that Microsoft's standard library and the CRT headers
// expect from it. The types come from Wine's CRT headers (corecrt.h); the rest
// is written from the standard library's use of it and Microsoft's public
// documentation of the compiler runtime.
#pragma once
#define _VCRUNTIME_H

#include <corecrt.h>
#include <sal.h>
#include <vadefs.h>

#define _VCRT_COMPILER_PREPROCESSOR 1

// The language levels that the standard library selects its parts by.
#ifndef _HAS_CXX17
#if defined(_MSVC_LANG) && _MSVC_LANG > 201402L
#define _HAS_CXX17 1
#else
#define _HAS_CXX17 0
#endif
#endif
#ifndef _HAS_CXX20
#if _HAS_CXX17 && _MSVC_LANG > 201703L
#define _HAS_CXX20 1
#else
#define _HAS_CXX20 0
#endif
#endif
#ifndef _HAS_CXX23
#if _HAS_CXX20 && _MSVC_LANG > 202002L
#define _HAS_CXX23 1
#else
#define _HAS_CXX23 0
#endif
#endif
#ifndef _HAS_CXX26
#if _HAS_CXX23 && _MSVC_LANG > 202302L
#define _HAS_CXX26 1
#else
#define _HAS_CXX26 0
#endif
#endif

#ifndef _HAS_NODISCARD
#define _HAS_NODISCARD 1
#endif
#if _HAS_NODISCARD
#define _NODISCARD [[nodiscard]]
#else
#define _NODISCARD
#endif

#ifndef _CRT_PACKING
#define _CRT_PACKING 8
#endif
#ifndef _HAS_EXCEPTIONS
#define _HAS_EXCEPTIONS 1
#endif

#ifdef __cplusplus
#define _CRT_BEGIN_C_HEADER __pragma(pack(push, _CRT_PACKING)) extern "C" {
#define _CRT_END_C_HEADER } __pragma(pack(pop))
#else
#define _CRT_BEGIN_C_HEADER __pragma(pack(push, _CRT_PACKING))
#define _CRT_END_C_HEADER __pragma(pack(pop))
#endif

#ifndef _VCRTIMP
#define _VCRTIMP __declspec(dllimport)
#endif
// The standard library's DLL exports are reached through its import library,
// so its functions need no import attribute of their own.
#ifndef _CRTIMP2
#define _CRTIMP2
#endif
// The standard library's satellite DLLs: msvcp140_1 (memory resources),
// msvcp140_2 (special math), msvcp140_codecvt_ids (facet ids, data).
#ifndef _CRT_SATELLITE_1
#define _CRT_SATELLITE_1
#endif
#ifndef _CRT_SATELLITE_2
#define _CRT_SATELLITE_2
#endif
#ifndef _CRT_SATELLITE_CODECVT_IDS
#define _CRT_SATELLITE_CODECVT_IDS __declspec(dllimport)
#endif
#ifndef _CRT_SATELLITE_CODECVT_IDS_NOIMPORT
#define _CRT_SATELLITE_CODECVT_IDS_NOIMPORT
#endif
#ifndef __CRTDECL
#define __CRTDECL __cdecl
#endif
#ifndef __CLRCALL_PURE_OR_CDECL
#define __CLRCALL_PURE_OR_CDECL __cdecl
#endif
#ifndef __CLRCALL_OR_CDECL
#define __CLRCALL_OR_CDECL __cdecl
#endif
// Marks data shared by every application domain under the managed runtime; a
// native build has one.
#ifndef _PGLOBAL
#define _PGLOBAL
#endif
#ifndef _MRTIMP2
#define _MRTIMP2
#endif
#ifndef __CLR_OR_THIS_CALL
#define __CLR_OR_THIS_CALL
#endif

#define _CRT_STRINGIZE_(x) #x
#define _CRT_STRINGIZE(x) _CRT_STRINGIZE_(x)
#define _CRT_WIDE_(s) L##s
#define _CRT_WIDE(s) _CRT_WIDE_(s)
#define _CRT_CONCATENATE_(a, b) a##b
#define _CRT_CONCATENATE(a, b) _CRT_CONCATENATE_(a, b)
#define _CRT_UNPARENTHESIZE_(...) __VA_ARGS__
#define _CRT_UNPARENTHESIZE(...) _CRT_UNPARENTHESIZE_ __VA_ARGS__

#define _VCRT_NOALIAS __declspec(noalias)
#define _VCRT_RESTRICT __declspec(restrict)
#define _VCRT_ALLOCATOR __declspec(allocator)
#ifndef _CRTRESTRICT
#define _CRTRESTRICT
#endif
#ifndef _CRTALLOCATOR
#define _CRTALLOCATOR __declspec(allocator)
#endif
#define _CRT_GUARDOVERFLOW
#define _CRT_HYBRIDPATCHABLE
#ifndef _CRT_DEPRECATE_TEXT
#define _CRT_DEPRECATE_TEXT(_Text) __declspec(deprecated(_Text))
#endif
#ifndef _CRT_INSECURE_DEPRECATE
#define _CRT_INSECURE_DEPRECATE(_Replacement)
#endif
#ifndef _CRT_INSECURE_DEPRECATE_MEMORY
#define _CRT_INSECURE_DEPRECATE_MEMORY(_Replacement)
#endif
#define _CRT_ALIGN(x) __declspec(align(x))
#ifndef _UNALIGNED
#define _UNALIGNED __unaligned
#endif

// The standard library names its import libraries by pragma; the build names
// every library itself.
#ifndef _CRT_NOPRAGMA_LIBS
#define _CRT_NOPRAGMA_LIBS
#endif

#ifdef __cplusplus
extern "C++" {
template <typename _CountofType, size_t _SizeOfArray>
char (*__countof_helper(_UNALIGNED _CountofType (&_Array)[_SizeOfArray]))[_SizeOfArray];
}
#ifndef _countof
#define _countof(_Array) (sizeof(*__countof_helper(_Array)) + 0)
#endif
#endif

#ifdef __cplusplus
typedef bool __vcrt_bool;
#else
typedef _Bool __vcrt_bool;
#endif

_CRT_BEGIN_C_HEADER
// The /GS cookie and its check (the static start-up part of the runtime).
extern uintptr_t __security_cookie;
void __cdecl __security_init_cookie(void);
void __cdecl __security_check_cookie(uintptr_t _StackCookie);
__declspec(noreturn) void __cdecl __report_gsfailure(uintptr_t _StackCookie);
_CRT_END_C_HEADER
