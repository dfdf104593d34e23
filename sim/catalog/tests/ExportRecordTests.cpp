// Export record tests: the exact text a parts list reads, and its mident reads back.
#include "common/ExportRecord.h"
#include "common/PartCatalog.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

TEST(ExportRecord, HasExactlyTheAgreedLayout) {
    const PartCatalog catalog;
    const auto lookup = catalog.findPart("ISO4017", {{"D", "8"}, {"L", "40"}});
    ASSERT_TRUE(lookup.ok());
    EXPECT_EQ(exportRecordText(*lookup.part),
              "[Attributes]\n"
              "NAME=Hexagon head screw\n"
              "DESIGNATION=ISO 4017 - M8 x 40 - 8.8\n"
              "STANDARD=ISO 4017\n"
              "SIZE=M8 x 40\n"
              "MATERIAL=Steel, property class 8.8\n"
              "MASS=0.0219\n"
              "MASS_UNIT=kg\n"
              "[MIDENT]\n"
              "MIDENT={$iso4017/iso4017.prj},ISO4017 {D=8},{L=40}\n");
}

TEST(ExportRecord, MidentLineOfEveryPartReadsBackToThatPart) {
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

TEST(ExportRecord, WritesMassWithThreeSignificantDigits) {
    const PartCatalog catalog;
    const auto washer = catalog.findPart("ISO7089", {{"D", "3"}});
    ASSERT_TRUE(washer.ok());
    const std::string mass = massText(*washer.part);
    EXPECT_EQ(mass.rfind("0.000", 0), 0u) << mass;
    EXPECT_EQ(mass.size(), 8u) << mass;  // 0.000119
    EXPECT_EQ(mass.find('e'), std::string::npos);
}

}  // namespace
}  // namespace catalog
