// The library parts of the host stand-in's drawing as plain values, read from the
// host's report: what the parts list and the picture of the drawing are made of.
#pragma once

#include "Json.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

namespace simcad {

// One body of a part, as the geometry file names it: the keyword ("cylinder",
// "hexprism", ...) and its numbers x y z sizes... in part coordinates.
struct PartBody {
    std::string kind;
    std::vector<double> values;
};

struct DrawingPart {
    long id = 0;
    std::vector<std::pair<std::string, std::string>> attributes;
    // From the geometry file's part line; "" for parts placed by `part add`.
    std::string designation;
    // Part matrix * workspace matrix, row by row, acting on row vectors [x y z 1].
    std::array<double, 16> world{};
    std::vector<PartBody> bodies;

    bool HasAttribute(const std::string& name) const;
    // The value of the first attribute of that name; "" when the part lacks it.
    std::string Attribute(const std::string& name) const;
};

// The library parts of a report's "drawing" value, in the order they were made.
std::vector<DrawingPart> DrawingPartsOf(const sim::Json& drawing);
// The library parts of the host's drawing as it is now.
std::vector<DrawingPart> CurrentDrawingParts();

// The name a person knows the part by: the catalog's designation attribute, else
// the geometry file's designation, else the host's library name, else "part ID".
std::string ShownDesignation(const DrawingPart& part);

}  // namespace simcad
