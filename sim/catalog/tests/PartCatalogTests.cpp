// Catalog tests: the families built from the tables with masses from the geometry,
// look-up by variables and by mident saying what is unknown, and every part's record
// naming that part again.
#include "common/Body.h"
#include "common/ExportRecord.h"
#include "common/PartCatalog.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

TEST(PartCatalog, HasTheFiveFamiliesWithTheirVariables) {
    const PartCatalog catalog;
    const std::pair<const char*, std::vector<std::string>> variables[] = {
        {"ISO4017", {"D", "L"}}, {"ISO4032", {"D"}}, {"ISO7089", {"D"}}, {"ISO2338", {"D", "L"}}, {"DIN625", {"TYPE"}}};
    ASSERT_EQ(catalog.families().size(), 5u);
    for (const auto& [key, names] : variables) {
        ASSERT_NE(catalog.findFamily(key), nullptr) << key;
        EXPECT_EQ(catalog.findFamily(key)->variableNames, names) << key;
    }
    for (const auto& family : catalog.families()) {
        EXPECT_FALSE(family.parts.empty()) << family.key;
        for (const auto& part : family.parts) {
            EXPECT_EQ(part.familyKey, family.key);
            EXPECT_FALSE(part.bodies.empty()) << part.designation;
            EXPECT_GT(steelMassKg(part.bodies), 0) << part.designation;
        }
    }
}

// Variables in any order and numbers as numbers; a miss says what is unknown.
TEST(PartCatalog, FindsPartsByVariablesOrSaysWhatIsUnknown) {
    const PartCatalog catalog;
    const struct {
        const char* key;
        Variables values;
        const char* sizeOrError;
    } cases[] = {
        {"ISO4017", {{"L", "40"}, {"D", "8.0"}}, "M8 x 40"},
        {"ISO2338", {{"D", "2.5"}, {"L", "10"}}, "2.5 m6 x 10"},
        {"ISO9999", {{"D", "8"}}, "unknown part ISO9999"},
        {"ISO4017", {{"D", "7"}, {"L", "40"}}, "unknown value"},
        {"ISO4017", {{"D", "8"}, {"L", "500"}}, "unknown value"},
        {"ISO4017", {{"D", "8"}}, "missing variable L"},
        {"ISO4032", {{"D", "8"}, {"X", "1"}}, "unknown variable X"},
    };
    for (const auto& example : cases) {
        const PartLookup lookup = catalog.findPart(example.key, example.values);
        const std::string outcome = lookup.ok() ? lookup.part->size : lookup.error;
        EXPECT_EQ(outcome.rfind(example.sizeOrError, 0), 0u) << outcome;
    }
}

TEST(PartCatalog, FindsPartsByMidentTailOrProject) {
    const PartCatalog catalog;
    auto lookup = catalog.findPart(Mident{"iso4017/iso4017.prj", "ISO4017", {{"D", "8"}, {"L", "40"}}});
    ASSERT_TRUE(lookup.ok()) << lookup.error;
    EXPECT_EQ(lookup.part->designation, "ISO 4017 - M8 x 40 - 8.8");
    EXPECT_TRUE(catalog.findPart(Mident{"din625/din625.prj", "OTHER", {{"TYPE", "6204"}}}).ok());
    EXPECT_FALSE(catalog.findPart(Mident{"x/x.prj", "NOPE", {}}).ok());
}

// The record's mident line, as the plug-in reads it, finds the very part again.
TEST(PartCatalog, EveryPartsRecordNamesThatPartAgain) {
    const PartCatalog catalog;
    for (const auto& family : catalog.families()) {
        for (const auto& part : family.parts) {
            const std::string record = exportRecordText(part);
            const size_t start = record.find("\nMIDENT=");
            ASSERT_NE(start, std::string::npos);
            const std::string mident = record.substr(start + 8, record.size() - start - 9);
            const auto parsed = parseMident(mident);
            ASSERT_TRUE(parsed.ok()) << mident << ": " << parsed.error;
            const auto lookup = catalog.findPart(parsed.mident);
            ASSERT_TRUE(lookup.ok()) << lookup.error;
            EXPECT_EQ(lookup.part, &part);
        }
    }
}

}  // namespace
}  // namespace catalog
