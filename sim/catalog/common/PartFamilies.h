// Builds the catalog's part families from the dimension tables: names, designations,
// variables and the bodies of every size.
#pragma once

#include "common/Part.h"

#include <vector>

namespace catalog {

// ISO4017, ISO4032, ISO7089, ISO2338, DIN625 - in this order.
std::vector<PartFamily> buildPartFamilies();

}  // namespace catalog
