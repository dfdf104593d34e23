// The text of a geometry file (our own format, the same for every export format;
// described in README.md), and a deliberately malformed variant for fault tests.
#pragma once

#include "common/Part.h"

#include <string>

namespace catalog {

// TARNVEL-GEOMETRY 1 / part ... / format ... / units mm / one line per body / end
std::string geometryText(const Part& part, const std::string& format);

// Starts like a good file but breaks off inside a body line and has no "end" line,
// as if the catalog had crashed while writing.
std::string brokenGeometryText(const Part& part, const std::string& format);

}  // namespace catalog
