// Stands in for isa_availability.h, the compiler runtime's closed header that
// names the instruction set levels that __isa_available reports. The standard
// library's headers include it for the names; this build uses none of the
// vectorised algorithms that read the level.
#pragma once

enum ISA_AVAILABILITY {
    __ISA_AVAILABLE_X86 = 0,
    __ISA_AVAILABLE_SSE2 = 1,
    __ISA_AVAILABLE_SSE42 = 2,
    __ISA_AVAILABLE_AVX = 3,
    __ISA_AVAILABLE_ENFSTRG = 4,
    __ISA_AVAILABLE_AVX2 = 5,
    __ISA_AVAILABLE_AVX512 = 6,
    __ISA_AVAILABLE_ARMNT = 0,
    __ISA_AVAILABLE_NEON = 1,
    __ISA_AVAILABLE_NEON_ARM64 = 2,
};

#if defined(__cplusplus)
extern "C" int __isa_available;
#else
extern int __isa_available;
#endif
