// Fixes Wine's windef.h for Microsoft's standard library: for Microsoft's
// compiler Wine defines the keyword inline as a macro (__inline), which the
// standard library refuses to be built with. clang-cl knows the keyword.
#pragma once
#include_next <windef.h>
#undef inline
