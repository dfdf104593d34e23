// The host's diagnostic channels: its error log and its assertion report.
#pragma once

#include "HostApi.h"

// Appends one line (8-bit text) to the host's error log; returns 0.
HOST_API int UtErrorLogWarning(const char* line);

// Reports a failed assertion: where it happened, a number that identifies the
// report, a printf-style format whose "%s" takes the value, and the name and
// value of the argument concerned.
HOST_API void DebugAssertInv(const char* file, int line, const char* function, int number,
                             const char* format, const char* argumentName, long value);
