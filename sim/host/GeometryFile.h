// The geometry file that the catalog writes when the user takes a part: a header
// (format line, part key and designation, export format, units), one solid body
// a line, and an end line. The reader takes a file whole or not at all.
#pragma once

#include <istream>
#include <string>
#include <vector>

namespace sim {

struct GeometryBody {
    std::string kind;            // cylinder, hexprism, hextube, tube or sphere
    std::vector<double> values;  // x y z, then the kind's sizes
};

struct GeometryFile {
    std::string key;
    std::string designation;
    std::string format;
    std::vector<GeometryBody> bodies;
};

// Reads the whole text; false, with the reason in `error`, when any line is wrong.
bool ParseGeometry(std::istream& text, GeometryFile& geometry, std::string& error);

}  // namespace sim
