// The export record the catalog writes next to the geometry file (<path>.txt): the
// attributes a parts list needs and the part's mident, 8-bit text with LF line ends.
#pragma once

#include "common/Part.h"

#include <string>

namespace catalog {

//   [Attributes]
//   NAME=... DESIGNATION=... STANDARD=... SIZE=... MATERIAL=... MASS=... MASS_UNIT=kg
//   [MIDENT]
//   MIDENT={$<project>},<tail> {NAME=value},...
std::string exportRecordText(const Part& part);

// Mass as written in the record: kg, three significant digits.
std::string massText(const Part& part);

}  // namespace catalog
