// Geometry file tests: exact text of a bolt, body kinds of the other families, and
// the broken variant really being broken.
#include "common/GeometryText.h"
#include "common/PartCatalog.h"

#include <gtest/gtest.h>

#include <sstream>

namespace catalog {
namespace {

const Part& findOrFail(const PartCatalog& catalog, const std::string& key, const Variables& values) {
    const auto lookup = catalog.findPart(key, values);
    if (!lookup.ok()) throw std::runtime_error(lookup.error);
    return *lookup.part;
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) result.push_back(line);
    return result;
}

TEST(GeometryText, DescribesABoltExactly) {
    const PartCatalog catalog;
    EXPECT_EQ(geometryText(findOrFail(catalog, "ISO4017", {{"D", "8"}, {"L", "40"}}), "SAT"),
              "TARNVEL-GEOMETRY 1\n"
              "part ISO4017 ISO 4017 - M8 x 40 - 8.8\n"
              "format SAT\n"
              "units mm\n"
              "hexprism 0 0 0 13 5.3\n"
              "cylinder 0 0 -40 4 40\n"
              "end\n");
}

TEST(GeometryText, UsesHexTubeForNutsAndTubeForWashers) {
    const PartCatalog catalog;
    const auto nut = lines(geometryText(findOrFail(catalog, "ISO4032", {{"D", "8"}}), "STEP"));
    EXPECT_EQ(nut[4], "hextube 0 0 0 13 4 6.8");
    const auto washer = lines(geometryText(findOrFail(catalog, "ISO7089", {{"D", "8"}}), "STEP"));
    EXPECT_EQ(washer[4], "tube 0 0 0 8 4.2 1.6");
}

TEST(GeometryText, DrawsABearingAsTwoRingsAndBalls) {
    const PartCatalog catalog;
    const auto bearing = lines(geometryText(findOrFail(catalog, "DIN625", {{"TYPE", "6204"}}), "IGES"));
    EXPECT_EQ(bearing[4].rfind("tube 0 0 0 ", 0), 0u);
    EXPECT_EQ(bearing[5].rfind("tube 0 0 0 23.5 ", 0), 0u);
    int spheres = 0;
    for (const auto& line : bearing) spheres += line.rfind("sphere ", 0) == 0 ? 1 : 0;
    EXPECT_GE(spheres, 6);
    EXPECT_EQ(bearing.back(), "end");
}

TEST(GeometryText, BrokenVariantHasNoEndAndACutBodyLine) {
    const PartCatalog catalog;
    const Part& bolt = findOrFail(catalog, "ISO4017", {{"D", "8"}, {"L", "40"}});
    const std::string broken = brokenGeometryText(bolt, "SAT");
    EXPECT_EQ(broken.rfind("TARNVEL-GEOMETRY 1\n", 0), 0u);
    EXPECT_EQ(broken.find("end"), std::string::npos);
    EXPECT_NE(broken.back(), '\n');
}

}  // namespace
}  // namespace catalog
