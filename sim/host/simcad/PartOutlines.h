// The outline of a library part seen from above (looking down -Z onto the XY
// plane), in world coordinates: every body of the part becomes closed loops of
// points in part coordinates, and every point is moved by the part's world
// placement and projected to XY.
#pragma once

#include "DrawingParts.h"

#include <array>
#include <vector>

namespace simcad {

struct PlanePoint {
    double x = 0;
    double y = 0;
};

// A closed loop of points; the last point joins the first.
using Loop = std::vector<PlanePoint>;

// One body seen from above: its outer loop, then the loops of its bores.
struct BodyOutline {
    std::vector<Loop> loops;
};

// The body's loops in part coordinates; none for a body of an unknown kind or
// with too few numbers.
std::vector<Loop> BodyLoops(const PartBody& body);

// p * M for the row vector [x y z 1], projected to XY.
PlanePoint ToWorldPlane(const std::array<double, 16>& world, double x, double y, double z);

// The outlines of the part's bodies in world XY; empty when it has no body drawn.
std::vector<BodyOutline> PartOutline(const DrawingPart& part);

// Where the part's own origin lies in world XY.
PlanePoint PartOrigin(const DrawingPart& part);

}  // namespace simcad
