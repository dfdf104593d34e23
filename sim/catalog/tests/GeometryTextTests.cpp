// Geometry file tests: the exact text of a bolt and the body kinds of the other
// families. The broken variant is proved broken by the road script that the plug-in
// must refuse it on (road_new_and_replace).
#include "common/GeometryText.h"
#include "common/PartCatalog.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

std::string geometryOf(const std::string& key, const Variables& values, const std::string& format) {
    static const PartCatalog catalog;
    const auto lookup = catalog.findPart(key, values);
    if (!lookup.ok()) throw std::runtime_error(lookup.error);
    return geometryText(*lookup.part, format);
}

TEST(GeometryText, DescribesABoltExactly) {
    EXPECT_EQ(geometryOf("ISO4017", {{"D", "8"}, {"L", "40"}}, "SAT"),
              "TARNVEL-GEOMETRY 1\n"
              "part ISO4017 ISO 4017 - M8 x 40 - 8.8\n"
              "format SAT\n"
              "units mm\n"
              "hexprism 0 0 0 13 5.3\n"
              "cylinder 0 0 -40 4 40\n"
              "end\n");
}

// A nut is a hex tube, a washer a tube, a bearing two rings and at least six balls.
TEST(GeometryText, DrawsEachFamilyWithItsBodyKinds) {
    EXPECT_NE(geometryOf("ISO4032", {{"D", "8"}}, "STEP").find("units mm\nhextube 0 0 0 13 4 6.8\nend\n"), std::string::npos);
    EXPECT_NE(geometryOf("ISO7089", {{"D", "8"}}, "STEP").find("units mm\ntube 0 0 0 8 4.2 1.6\nend\n"), std::string::npos);
    const std::string bearing = geometryOf("DIN625", {{"TYPE", "6204"}}, "IGES");
    const size_t outerRing = bearing.find("units mm\ntube 0 0 0 ");
    ASSERT_NE(outerRing, std::string::npos) << bearing;
    EXPECT_EQ(bearing.substr(bearing.find('\n', outerRing + 9), 17), "\ntube 0 0 0 23.5 ") << bearing;
    size_t spheres = 0;
    for (size_t at = bearing.find("\nsphere "); at != std::string::npos; at = bearing.find("\nsphere ", at + 1)) ++spheres;
    EXPECT_GE(spheres, 6u);
    EXPECT_EQ(bearing.substr(bearing.size() - 5), "\nend\n");
}

}  // namespace
}  // namespace catalog
