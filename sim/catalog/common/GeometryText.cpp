// Geometry file text; see GeometryText.h and README.md.
#include "common/GeometryText.h"

#include "common/NumberText.h"

namespace catalog {

namespace {

std::string header(const Part& part, const std::string& format) {
    return "TARNVEL-GEOMETRY 1\n"
           "part " + part.familyKey + " " + part.designation + "\n"
           "format " + format + "\n"
           "units mm\n";
}

std::string bodyLine(const Body& body) {
    std::string line = bodyKeyword(body.kind);
    for (double value : {body.x, body.y, body.z}) line += " " + formatNumber(value);
    for (double value : body.sizes) line += " " + formatNumber(value);
    return line + "\n";
}

}  // namespace

std::string geometryText(const Part& part, const std::string& format) {
    std::string text = header(part, format);
    for (const auto& body : part.bodies) text += bodyLine(body);
    return text + "end\n";
}

std::string brokenGeometryText(const Part& part, const std::string& format) {
    std::string text = header(part, format);
    const std::string firstBody = bodyLine(part.bodies.front());
    return text + firstBody.substr(0, firstBody.size() / 2);
}

}  // namespace catalog
