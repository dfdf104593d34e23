// Body keywords and volumes; see Body.h.
#include "common/Body.h"

#include <cmath>

namespace catalog {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSteelKgPerMm3 = 7.85e-6;  // 7.85 kg/dm3

double hexagonArea(double widthAcrossFlats) {
    return std::sqrt(3.0) / 2.0 * widthAcrossFlats * widthAcrossFlats;
}

double circleArea(double radius) { return kPi * radius * radius; }

}  // namespace

const char* bodyKeyword(BodyKind kind) {
    switch (kind) {
        case BodyKind::Cylinder: return "cylinder";
        case BodyKind::HexPrism: return "hexprism";
        case BodyKind::HexTube: return "hextube";
        case BodyKind::Tube: return "tube";
        case BodyKind::Sphere: return "sphere";
    }
    return "unknown";
}

double bodyVolumeMm3(const Body& body) {
    const auto& v = body.sizes;
    switch (body.kind) {
        case BodyKind::Cylinder: return circleArea(v[0]) * v[1];
        case BodyKind::HexPrism: return hexagonArea(v[0]) * v[1];
        case BodyKind::HexTube: return (hexagonArea(v[0]) - circleArea(v[1])) * v[2];
        case BodyKind::Tube: return (circleArea(v[0]) - circleArea(v[1])) * v[2];
        case BodyKind::Sphere: return 4.0 / 3.0 * kPi * v[0] * v[0] * v[0];
    }
    return 0;
}

double steelMassKg(const std::vector<Body>& bodies) {
    double volume = 0;
    for (const auto& body : bodies) {
        volume += bodyVolumeMm3(body);
    }
    return volume * kSteelKgPerMm3;
}

}  // namespace catalog
