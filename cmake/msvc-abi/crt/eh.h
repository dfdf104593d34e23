// Completes Wine's eh.h: _get_terminate, which the standard library's
// std::get_terminate calls (ucrtbase.dll exports it).
#pragma once
#include_next <eh.h>

#ifdef __cplusplus
extern "C" {
#endif
__declspec(dllimport) terminate_handler __cdecl _get_terminate(void);
#ifdef __cplusplus
}
#endif
