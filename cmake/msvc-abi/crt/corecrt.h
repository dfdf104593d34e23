// Completes Wine's corecrt.h: the UCRT's base header defines the conversion
// state _Mbstatet, which the standard library names without including wchar.h.
#pragma once
#include_next <corecrt.h>

#ifndef _MBSTATET_DEFINED
#define _MBSTATET_DEFINED
typedef struct _Mbstatet {
    unsigned long _Wchar;
    unsigned short _Byte;
    unsigned short _State;
} _Mbstatet;
#endif
