// Stands in for the UCRT's corecrt_terminate.h, which Wine lacks: the
// terminate handler's type and functions (ucrtbase.dll exports them).
#pragma once
#include <eh.h>
