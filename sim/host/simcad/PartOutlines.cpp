// Turns the bodies of a part into outlines seen from above.
#include "PartOutlines.h"

#include <cmath>
#include <cstddef>

namespace simcad {

namespace {

constexpr double PI = 3.14159265358979323846;
// Enough corners that a circle looks round at any size the picture shows.
constexpr int CIRCLE_CORNERS = 72;

Loop Circle(double x, double y, double radius)
{
    Loop loop;
    for (int i = 0; i < CIRCLE_CORNERS; ++i) {
        double angle = 2 * PI * i / CIRCLE_CORNERS;
        loop.push_back({x + radius * std::cos(angle), y + radius * std::sin(angle)});
    }
    return loop;
}

// Corners at 0, 60, ... degrees, so that two flats are parallel to X; the corner
// radius is the width across flats / sqrt(3).
Loop Hexagon(double x, double y, double acrossFlats)
{
    double radius = acrossFlats / std::sqrt(3.0);
    Loop loop;
    for (int i = 0; i < 6; ++i) {
        double angle = PI / 3 * i;
        loop.push_back({x + radius * std::cos(angle), y + radius * std::sin(angle)});
    }
    return loop;
}

// How many numbers each body keyword has: x y z and its sizes.
std::size_t ValueCount(const std::string& kind)
{
    if (kind == "cylinder" || kind == "hexprism")
        return 5;
    if (kind == "hextube" || kind == "tube")
        return 6;
    if (kind == "sphere")
        return 4;
    return 0;
}

}  // namespace

std::vector<Loop> BodyLoops(const PartBody& body)
{
    std::size_t needed = ValueCount(body.kind);
    if (needed == 0 || body.values.size() < needed)
        return {};
    const std::vector<double>& v = body.values;
    if (body.kind == "cylinder" || body.kind == "sphere")
        return {Circle(v[0], v[1], v[3])};
    if (body.kind == "hexprism")
        return {Hexagon(v[0], v[1], v[3])};
    if (body.kind == "hextube")
        return {Hexagon(v[0], v[1], v[3]), Circle(v[0], v[1], v[4])};
    return {Circle(v[0], v[1], v[3]), Circle(v[0], v[1], v[4])};  // tube
}

PlanePoint ToWorldPlane(const std::array<double, 16>& world, double x, double y, double z)
{
    return {x * world[0] + y * world[4] + z * world[8] + world[12],
            x * world[1] + y * world[5] + z * world[9] + world[13]};
}

std::vector<BodyOutline> PartOutline(const DrawingPart& part)
{
    std::vector<BodyOutline> outlines;
    for (const PartBody& body : part.bodies) {
        BodyOutline outline;
        double z = body.values.size() > 2 ? body.values[2] : 0;
        for (const Loop& partLoop : BodyLoops(body)) {
            Loop worldLoop;
            for (const PlanePoint& point : partLoop)
                worldLoop.push_back(ToWorldPlane(part.world, point.x, point.y, z));
            outline.loops.push_back(worldLoop);
        }
        if (!outline.loops.empty())
            outlines.push_back(outline);
    }
    return outlines;
}

PlanePoint PartOrigin(const DrawingPart& part)
{
    return ToWorldPlane(part.world, 0, 0, 0);
}

}  // namespace simcad
