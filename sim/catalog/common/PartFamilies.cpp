// Part families built from PartsTables. Each part's origin is where it is placed in a
// drawing: a screw on its head's bearing face (shank along -Z), nuts, washers and
// bearings on their bottom face, pins on one end face; all axes along Z.
#include "common/PartFamilies.h"

#include "common/NumberText.h"
#include "common/PartsTables.h"

#include <cmath>

namespace catalog {

namespace {

constexpr double kPi = 3.14159265358979323846;

Body body(BodyKind kind, double z, std::vector<double> sizes) {
    return Body{kind, 0, 0, z, std::move(sizes)};
}

std::string metric(double d) { return "M" + formatNumber(d); }

PartFamily hexBolts() {
    PartFamily family{"ISO4017", "iso4017/iso4017.prj", {"D", "L"}, {}};
    for (const auto& row : hexBoltTable()) {
        for (double length : boltLengthSeries()) {
            if (length < row.lMin || length > row.lMax) continue;
            Part part;
            part.variables = {{"D", formatNumber(row.d)}, {"L", formatNumber(length)}};
            part.name = "Hexagon head screw";
            part.standard = "ISO 4017";
            part.size = metric(row.d) + " x " + formatNumber(length);
            part.designation = part.standard + " - " + part.size + " - 8.8";
            part.material = "Steel, property class 8.8";
            part.bodies = {body(BodyKind::HexPrism, 0, {row.s, row.k}),
                           body(BodyKind::Cylinder, -length, {row.d / 2, length})};
            family.parts.push_back(part);
        }
    }
    return family;
}

PartFamily hexNuts() {
    PartFamily family{"ISO4032", "iso4032/iso4032.prj", {"D"}, {}};
    for (const auto& row : hexNutTable()) {
        Part part;
        part.variables = {{"D", formatNumber(row.d)}};
        part.name = "Hexagon nut";
        part.standard = "ISO 4032";
        part.size = metric(row.d);
        part.designation = part.standard + " - " + part.size + " - 8";
        part.material = "Steel, property class 8";
        part.bodies = {body(BodyKind::HexTube, 0, {row.s, row.d / 2, row.m})};
        family.parts.push_back(part);
    }
    return family;
}

PartFamily washers() {
    PartFamily family{"ISO7089", "iso7089/iso7089.prj", {"D"}, {}};
    for (const auto& row : washerTable()) {
        Part part;
        part.variables = {{"D", formatNumber(row.size)}};
        part.name = "Plain washer";
        part.standard = "ISO 7089";
        part.size = formatNumber(row.size);
        part.designation = part.standard + " - " + part.size + " - 200 HV";
        part.material = "Steel, 200 HV";
        part.bodies = {body(BodyKind::Tube, 0, {row.d2 / 2, row.d1 / 2, row.h})};
        family.parts.push_back(part);
    }
    return family;
}

PartFamily pins() {
    PartFamily family{"ISO2338", "iso2338/iso2338.prj", {"D", "L"}, {}};
    for (const auto& row : pinTable()) {
        for (double length : pinLengthSeries()) {
            if (length < row.lMin || length > row.lMax) continue;
            Part part;
            part.variables = {{"D", formatNumber(row.d)}, {"L", formatNumber(length)}};
            part.name = "Parallel pin";
            part.standard = "ISO 2338";
            part.size = formatNumber(row.d) + " m6 x " + formatNumber(length);
            part.designation = part.standard + " - " + part.size + " - St";
            part.material = "Steel, unhardened";
            part.bodies = {body(BodyKind::Cylinder, 0, {row.d / 2, length})};
            family.parts.push_back(part);
        }
    }
    return family;
}

// Simplified bearing: inner and outer ring, each a quarter of the radial section
// thick, and a ring of balls filling the gap between them.
std::vector<Body> bearingBodies(const BearingRow& row) {
    const double section = (row.D - row.d) / 2;
    const double ringWall = section / 4;
    const double ballRadius = (section - 2 * ringWall) / 2;
    const double pitchRadius = (row.d + row.D) / 4;
    const int ballCount = static_cast<int>(2 * kPi * pitchRadius / (2 * ballRadius * 1.4));

    std::vector<Body> bodies = {
        body(BodyKind::Tube, 0, {row.d / 2 + ringWall, row.d / 2, row.B}),
        body(BodyKind::Tube, 0, {row.D / 2, row.D / 2 - ringWall, row.B}),
    };
    for (int i = 0; i < ballCount; ++i) {
        const double angle = 2 * kPi * i / ballCount;
        Body ball{BodyKind::Sphere, std::round(pitchRadius * std::cos(angle) * 1000) / 1000,
                  std::round(pitchRadius * std::sin(angle) * 1000) / 1000, row.B / 2, {ballRadius}};
        bodies.push_back(ball);
    }
    return bodies;
}

PartFamily bearings() {
    PartFamily family{"DIN625", "din625/din625.prj", {"TYPE"}, {}};
    for (const auto& row : bearingTable()) {
        Part part;
        part.variables = {{"TYPE", std::to_string(row.type)}};
        part.name = "Deep groove ball bearing";
        part.standard = "DIN 625-1";
        part.size = std::to_string(row.type) + " (" + formatNumber(row.d) + " x " +
                    formatNumber(row.D) + " x " + formatNumber(row.B) + ")";
        part.designation = "DIN 625 - " + std::to_string(row.type);
        part.material = "Rolling bearing steel";
        part.bodies = bearingBodies(row);
        family.parts.push_back(part);
    }
    return family;
}

void stampFamily(PartFamily& family) {
    for (auto& part : family.parts) {
        part.familyKey = family.key;
        part.project = family.project;
    }
}

}  // namespace

std::vector<PartFamily> buildPartFamilies() {
    std::vector<PartFamily> families = {hexBolts(), hexNuts(), washers(), pins(), bearings()};
    for (auto& family : families) {
        stampFamily(family);
    }
    return families;
}

}  // namespace catalog
