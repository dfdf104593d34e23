// Stands in for new.h, the compiler runtime's closed header with the new-handler
// types and _set_new_mode (exported by ucrtbase.dll).
#pragma once
#include <vcruntime_new.h>

#pragma pack(push, _CRT_PACKING)
extern "C" {
typedef int(__cdecl* _PNH)(size_t);
__declspec(dllimport) int __cdecl _set_new_mode(int _NewMode);
__declspec(dllimport) int __cdecl _query_new_mode(void);
}
#pragma pack(pop)
