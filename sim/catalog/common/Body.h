// The solid bodies a catalog part is made of, in part coordinates (millimetres,
// Z up), and their volumes. Every body except the sphere stands on the plane z and
// rises by its height h along +Z, centred on (x, y).
#pragma once

#include <string>
#include <vector>

namespace catalog {

enum class BodyKind {
    Cylinder,  // sizes: r h
    HexPrism,  // sizes: s h      (s = width across flats, two flats parallel to X)
    HexTube,   // sizes: s ri h   (hexagonal prism with a round bore of radius ri)
    Tube,      // sizes: ro ri h
    Sphere,    // sizes: r        (x y z is the centre)
};

struct Body {
    BodyKind kind;
    double x = 0;
    double y = 0;
    double z = 0;
    std::vector<double> sizes;  // in the order listed at BodyKind
};

// The word the geometry file uses for the kind, e.g. "hexprism".
const char* bodyKeyword(BodyKind kind);

double bodyVolumeMm3(const Body& body);

// Mass of solid steel bodies (7.85 kg/dm3), in kg.
double steelMassKg(const std::vector<Body>& bodies);

}  // namespace catalog
