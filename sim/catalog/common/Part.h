// One concrete catalog part (a family member with all variables fixed): what the
// viewer lists, the geometry file draws and the export record describes.
#pragma once

#include "common/Body.h"
#include "common/Mident.h"

#include <string>
#include <vector>

namespace catalog {

struct Part {
    std::string familyKey;  // e.g. ISO4017; also the mident tail
    std::string project;    // e.g. iso4017/iso4017.prj
    Variables variables;    // e.g. D=8, L=40, in the family's order
    std::string name;       // e.g. Hexagon head screw
    std::string designation;
    std::string standard;
    std::string size;       // e.g. M8 x 40; also the text in the viewer's size list
    std::string material;
    std::vector<Body> bodies;
};

// A family: all its parts share key, project and variable names.
struct PartFamily {
    std::string key;
    std::string project;
    std::vector<std::string> variableNames;
    std::vector<Part> parts;
};

}  // namespace catalog
