// Completes Wine's locale.h: ___lc_codepage_func, the current locale's code
// page, which ucrtbase.dll exports and the standard library's file system code
// asks for to convert narrow paths.
#pragma once
#include_next <locale.h>

#ifdef __cplusplus
extern "C" {
#endif
__declspec(dllimport) unsigned int __cdecl ___lc_codepage_func(void);
#ifdef __cplusplus
}
#endif
