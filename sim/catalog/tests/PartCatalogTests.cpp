// Catalog tests: the families built from the tables, masses computed
// from the geometry, and look-up by variables and by mident.
#include "common/Body.h"
#include "common/PartCatalog.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

const Part& partOrFail(const PartCatalog& catalog, const std::string& key, const Variables& values) {
    const PartLookup lookup = catalog.findPart(key, values);
    if (!lookup.ok()) throw std::runtime_error(lookup.error);
    return *lookup.part;
}

TEST(PartCatalog, HasTheFiveFamiliesWithTheirVariables) {
    const PartCatalog catalog;
    ASSERT_EQ(catalog.families().size(), 5u);
    EXPECT_EQ(catalog.findFamily("ISO4017")->variableNames, (std::vector<std::string>{"D", "L"}));
    EXPECT_EQ(catalog.findFamily("ISO4032")->variableNames, (std::vector<std::string>{"D"}));
    EXPECT_EQ(catalog.findFamily("ISO7089")->variableNames, (std::vector<std::string>{"D"}));
    EXPECT_EQ(catalog.findFamily("ISO2338")->variableNames, (std::vector<std::string>{"D", "L"}));
    EXPECT_EQ(catalog.findFamily("DIN625")->variableNames, (std::vector<std::string>{"TYPE"}));
    for (const auto& family : catalog.families()) {
        EXPECT_FALSE(family.parts.empty()) << family.key;
        for (const auto& part : family.parts) {
            EXPECT_EQ(part.familyKey, family.key);
            EXPECT_FALSE(part.bodies.empty()) << part.designation;
            EXPECT_GT(steelMassKg(part.bodies), 0) << part.designation;
        }
    }
}

TEST(PartCatalog, FindsPartsWithVariablesInAnyOrderAndNumbersAsNumbers) {
    const PartCatalog catalog;
    const Part& bolt = partOrFail(catalog, "ISO4017", {{"L", "40"}, {"D", "8.0"}});
    EXPECT_EQ(bolt.size, "M8 x 40");
    EXPECT_EQ(partOrFail(catalog, "ISO2338", {{"D", "2.5"}, {"L", "10"}}).size, "2.5 m6 x 10");
}

TEST(PartCatalog, SaysWhatIsUnknown) {
    const PartCatalog catalog;
    auto lookup = catalog.findPart("ISO9999", {{"D", "8"}});
    EXPECT_FALSE(lookup.ok());
    EXPECT_NE(lookup.error.find("unknown part"), std::string::npos);

    lookup = catalog.findPart("ISO4017", {{"D", "7"}, {"L", "40"}});
    EXPECT_FALSE(lookup.ok());
    EXPECT_NE(lookup.error.find("unknown value"), std::string::npos);

    lookup = catalog.findPart("ISO4017", {{"D", "8"}, {"L", "500"}});
    EXPECT_FALSE(lookup.ok());

    lookup = catalog.findPart("ISO4017", {{"D", "8"}});
    EXPECT_NE(lookup.error.find("missing variable L"), std::string::npos);

    lookup = catalog.findPart("ISO4032", {{"D", "8"}, {"X", "1"}});
    EXPECT_NE(lookup.error.find("unknown variable X"), std::string::npos);
}

TEST(PartCatalog, FindsPartsByMidentTailOrProject) {
    const PartCatalog catalog;
    auto lookup = catalog.findPart(Mident{"iso4017/iso4017.prj", "ISO4017", {{"D", "8"}, {"L", "40"}}});
    ASSERT_TRUE(lookup.ok()) << lookup.error;
    EXPECT_EQ(lookup.part->designation, "ISO 4017 - M8 x 40 - 8.8");

    lookup = catalog.findPart(Mident{"din625/din625.prj", "OTHER", {{"TYPE", "6204"}}});
    ASSERT_TRUE(lookup.ok()) << lookup.error;

    lookup = catalog.findPart(Mident{"x/x.prj", "NOPE", {}});
    EXPECT_FALSE(lookup.ok());
}

TEST(PartCatalog, EveryPartsMidentFindsThePartAgain) {
    const PartCatalog catalog;
    for (const auto& family : catalog.families()) {
        for (const auto& part : family.parts) {
            const auto lookup = catalog.findPart(midentOf(part));
            ASSERT_TRUE(lookup.ok()) << lookup.error;
            EXPECT_EQ(lookup.part, &part);
        }
    }
}

}  // namespace
}  // namespace catalog
