// Take tests on real files: both files written with the right content, the record
// whole after the finishing rewrite, and the two fault modes.
#include "common/ExportRecord.h"
#include "common/FileIo.h"
#include "common/GeometryText.h"
#include "common/PartCatalog.h"
#include "tests/TempDirectory.h"
#include "viewer/PartExporter.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

class PartExporterTest : public ::testing::Test {
protected:
    const Part& bolt() {
        const auto lookup = catalog.findPart("ISO4017", {{"D", "8"}, {"L", "40"}});
        if (!lookup.ok()) throw std::runtime_error(lookup.error);
        return *lookup.part;
    }

    PartCatalog catalog;
    PartExporter exporter;
    testing::TempDirectory directory;
};

TEST_F(PartExporterTest, WritesGeometryThenRecord) {
    const std::string path = directory.file("out.sat");
    const auto result = exporter.take(bolt(), path, "SAT");
    ASSERT_TRUE(result.ok) << result.text;
    EXPECT_EQ(readWholeFile(path), geometryText(bolt(), "SAT"));
    EXPECT_EQ(readWholeFile(path + ".txt"), exportRecordText(bolt()));
}

TEST_F(PartExporterTest, ReplacesALongerOldRecordCompletely) {
    const std::string path = directory.file("out.sat");
    ASSERT_TRUE(writeWholeFile(path + ".txt", std::string(5000, 'x')).empty());
    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    EXPECT_EQ(readWholeFile(path + ".txt"), exportRecordText(bolt()));
}

TEST_F(PartExporterTest, RewriteKeepsTheSameCompleteContent) {
    const std::string path = directory.file("record.txt");
    ASSERT_TRUE(writeRecordFile(path, "[Attributes]\nA=1\n").empty());
    EXPECT_EQ(readWholeFile(path), "[Attributes]\nA=1\n");
}

TEST_F(PartExporterTest, BrokenGeometryAppliesToTheNextTakeOnly) {
    const std::string path = directory.file("out.sat");
    exporter.armBrokenGeometry();
    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    EXPECT_EQ(readWholeFile(path), brokenGeometryText(bolt(), "SAT"));
    EXPECT_EQ(readWholeFile(path + ".txt"), exportRecordText(bolt()));

    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    EXPECT_EQ(readWholeFile(path), geometryText(bolt(), "SAT"));
}

TEST_F(PartExporterTest, HeldRecordAppearsOnlyOnRelease) {
    const std::string path = directory.file("out.sat");
    exporter.armHoldRecord();
    const auto taken = exporter.take(bolt(), path, "SAT");
    ASSERT_TRUE(taken.ok) << taken.text;
    EXPECT_EQ(taken.text, "held " + path + ".txt");
    EXPECT_TRUE(readWholeFile(path).has_value());
    EXPECT_FALSE(readWholeFile(path + ".txt").has_value());

    const auto released = exporter.releaseHeldRecord();
    ASSERT_TRUE(released.ok) << released.text;
    EXPECT_EQ(readWholeFile(path + ".txt"), exportRecordText(bolt()));
    EXPECT_FALSE(exporter.releaseHeldRecord().ok);
}

TEST_F(PartExporterTest, HoldAppliesToTheNextTakeOnly) {
    const std::string path = directory.file("out.sat");
    exporter.armHoldRecord();
    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    EXPECT_TRUE(readWholeFile(path + ".txt").has_value());
    EXPECT_FALSE(exporter.releaseHeldRecord().ok);  // the new take dropped the held record
}

TEST_F(PartExporterTest, FailsWithoutPathOrWithAnUnwritablePath) {
    EXPECT_FALSE(exporter.take(bolt(), "", "SAT").ok);
    EXPECT_FALSE(exporter.take(bolt(), directory.file("missing\\dir\\out.sat"), "SAT").ok);
}

}  // namespace
}  // namespace catalog
