// Export record tests: the mident line of every part reads back to that part.
#include "common/ExportRecord.h"
#include "common/PartCatalog.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

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

}  // namespace
}  // namespace catalog
