// Take tests on real files: both files written with the right content, the record
// whole after the finishing rewrite, and the fault modes. Files that the exporter
// keeps open are probed the way another program would open them.
#include "common/ExportRecord.h"
#include "common/FileIo.h"
#include "common/GeometryText.h"
#include "common/PartCatalog.h"
#include "tests/FileProbes.h"
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

    // The exporter goes first, so that files it still holds open can be removed.
    testing::TempDirectory directory;
    PartCatalog catalog;
    PartExporter exporter;
};

using testing::errorOfExclusiveOpen;
using testing::errorOfOpenForWriting;

TEST_F(PartExporterTest, ReplacesALongerOldRecordCompletely) {
    const std::string path = directory.file("out.sat");
    ASSERT_TRUE(writeWholeFile(path + ".txt", std::string(5000, 'x')).empty());
    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    EXPECT_EQ(readWholeFile(path + ".txt"), exportRecordText(bolt()));
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

TEST_F(PartExporterTest, ALongRemarkGoesBeforeTheMidentOfTheNextTakeOnly) {
    const std::string path = directory.file("out.sat");
    exporter.armLongRemark(12);
    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    std::string expected = exportRecordText(bolt());
    expected.insert(expected.find("[MIDENT]"), "REMARK=012345678901\n");
    EXPECT_EQ(readWholeFile(path + ".txt"), expected);

    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    EXPECT_EQ(readWholeFile(path + ".txt"), exportRecordText(bolt()));
}

TEST_F(PartExporterTest, HeldRecordAppearsOnlyOnRelease) {
    const std::string path = directory.file("out.sat");
    exporter.armHoldRecord();
    const auto taken = exporter.take(bolt(), path, "SAT");
    ASSERT_TRUE(taken.ok) << taken.text;
    EXPECT_EQ(taken.text, "held " + path + ".txt");
    EXPECT_TRUE(readWholeFile(path).has_value());
    EXPECT_FALSE(readWholeFile(path + ".txt").has_value());

    const auto released = exporter.releaseHeld();
    ASSERT_TRUE(released.ok) << released.text;
    EXPECT_EQ(released.text, "released " + path + ".txt");
    EXPECT_EQ(readWholeFile(path + ".txt"), exportRecordText(bolt()));
    EXPECT_FALSE(exporter.releaseHeld().ok);
}

TEST_F(PartExporterTest, HoldAppliesToTheNextTakeOnly) {
    const std::string path = directory.file("out.sat");
    exporter.armHoldRecord();
    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    EXPECT_TRUE(readWholeFile(path + ".txt").has_value());
    EXPECT_FALSE(exporter.releaseHeld().ok);  // the new take dropped the held record
}

TEST_F(PartExporterTest, ANewTakeLeavesHeldGeometryHalfWritten) {
    const std::string heldPath = directory.file("held.sat");
    const std::string geometry = geometryText(bolt(), "SAT");
    exporter.armHoldGeometry();
    ASSERT_TRUE(exporter.take(bolt(), heldPath, "SAT").ok);
    ASSERT_EQ(exporter.pending(), PartExporter::Pending::HeldGeometry);

    const std::string nextPath = directory.file("next.sat");
    ASSERT_TRUE(exporter.take(bolt(), nextPath, "SAT").ok);
    EXPECT_EQ(readWholeFile(heldPath), geometry.substr(0, geometry.size() / 2));
    EXPECT_EQ(errorOfOpenForWriting(heldPath), 0u);
    EXPECT_FALSE(readWholeFile(heldPath + ".txt").has_value());
    EXPECT_EQ(readWholeFile(nextPath), geometry);
    EXPECT_EQ(readWholeFile(nextPath + ".txt"), exportRecordText(bolt()));
    EXPECT_FALSE(exporter.releaseHeld().ok);
}

TEST_F(PartExporterTest, HeldGeometryUsesUpARecordFaultAndReleasesTheWholeRecord) {
    const std::string path = directory.file("out.sat");
    exporter.armRecordPieces({4, 150, 0});
    exporter.armHoldGeometry();
    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    ASSERT_EQ(exporter.pending(), PartExporter::Pending::HeldGeometry);
    ASSERT_TRUE(exporter.releaseHeld().ok);
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Nothing);
    EXPECT_EQ(readWholeFile(path + ".txt"), exportRecordText(bolt()));

    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Nothing);
}

TEST_F(PartExporterTest, RecordInPiecesGrowsPieceByPieceWhileOpenAndEndsWhole) {
    const std::string path = directory.file("out.sat");
    const std::string recordPath = path + ".txt";
    const std::string record = exportRecordText(bolt());
    ASSERT_TRUE(writeWholeFile(recordPath, std::string(5000, 'x')).empty());
    exporter.armRecordPieces({4, 150, 300});
    const auto taken = exporter.take(bolt(), path, "SAT");
    ASSERT_TRUE(taken.ok) << taken.text;
    EXPECT_EQ(taken.text, "writing " + recordPath);
    EXPECT_EQ(readWholeFile(path), geometryText(bolt(), "SAT"));
    ASSERT_EQ(readWholeFile(recordPath), std::string());
    EXPECT_EQ(errorOfExclusiveOpen(recordPath), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(exporter.nextRecordStepInMs(), std::optional<unsigned>(150));

    size_t previousSize = 0;
    for (unsigned piece = 1; piece <= 4; ++piece) {
        SCOPED_TRACE("piece " + std::to_string(piece));
        const auto step = exporter.continueRecord();
        ASSERT_TRUE(step.ok) << step.text;
        EXPECT_EQ(step.text, "writing " + recordPath);
        const std::string content = readWholeFile(recordPath).value_or("");
        EXPECT_GT(content.size(), previousSize);
        EXPECT_EQ(content, record.substr(0, record.size() * piece / 4));
        previousSize = content.size();
        EXPECT_EQ(errorOfExclusiveOpen(recordPath), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(exporter.nextRecordStepInMs(), std::optional<unsigned>(piece < 4 ? 150 : 300));
    }

    const auto closed = exporter.continueRecord();
    ASSERT_TRUE(closed.ok) << closed.text;
    EXPECT_EQ(closed.text, "written " + recordPath);
    EXPECT_EQ(exporter.nextRecordStepInMs(), std::nullopt);
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Nothing);
    EXPECT_EQ(errorOfExclusiveOpen(recordPath), 0u);
    EXPECT_EQ(readWholeFile(recordPath), record);
}

// A writer that holds its whole record open and writes it over again and again: each
// touch leaves the record whole, moves its last-write time, and keeps it open until
// the time to keep it open is up.
TEST_F(PartExporterTest, ATouchedRecordStaysWholeAndOpenWhileItsLastWriteTimeMoves) {
    const std::string path = directory.file("out.sat");
    const std::string recordPath = path + ".txt";
    const std::string record = exportRecordText(bolt());
    exporter.armRecordPieces({1, 0, 500, 200});
    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    ASSERT_TRUE(exporter.continueRecord().ok);
    ASSERT_EQ(readWholeFile(recordPath), record);
    const FILETIME longAgo{0, 0x01000000};
    for (unsigned touch = 1; touch <= 2; ++touch) {
        SCOPED_TRACE("touch " + std::to_string(touch));
        EXPECT_EQ(exporter.nextRecordStepInMs(), std::optional<unsigned>(200));
        HANDLE stamp = CreateFileA(recordPath.c_str(), FILE_WRITE_ATTRIBUTES,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(stamp, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(SetFileTime(stamp, nullptr, nullptr, &longAgo));
        CloseHandle(stamp);
        ASSERT_TRUE(exporter.continueRecord().ok);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExA(recordPath.c_str(), GetFileExInfoStandard, &data));
        EXPECT_NE(CompareFileTime(&data.ftLastWriteTime, &longAgo), 0) << "the touch moved the time";
        EXPECT_EQ(readWholeFile(recordPath), record);
        EXPECT_EQ(errorOfExclusiveOpen(recordPath), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    }
    EXPECT_EQ(exporter.nextRecordStepInMs(), std::optional<unsigned>(100));
    const auto closed = exporter.continueRecord();
    ASSERT_TRUE(closed.ok) << closed.text;
    EXPECT_EQ(closed.text, "written " + recordPath);
    EXPECT_EQ(errorOfExclusiveOpen(recordPath), 0u);
    EXPECT_EQ(readWholeFile(recordPath), record);
}

TEST_F(PartExporterTest, ANewTakeFinishesARecordInPiecesFirst) {
    const std::string firstRecord = directory.file("first.sat") + ".txt";
    exporter.armRecordPieces({4, 150, 0});
    ASSERT_TRUE(exporter.take(bolt(), directory.file("first.sat"), "SAT").ok);
    ASSERT_TRUE(exporter.continueRecord().ok);
    ASSERT_EQ(errorOfExclusiveOpen(firstRecord), static_cast<DWORD>(ERROR_SHARING_VIOLATION));

    const auto second = exporter.take(bolt(), directory.file("second.sat"), "SAT");
    ASSERT_TRUE(second.ok) << second.text;
    EXPECT_EQ(errorOfExclusiveOpen(firstRecord), 0u);
    EXPECT_EQ(readWholeFile(firstRecord), exportRecordText(bolt()));
    EXPECT_EQ(readWholeFile(directory.file("second.sat.txt")), exportRecordText(bolt()));
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Nothing);
    EXPECT_FALSE(exporter.continueRecord().ok);
}

// A reader that denies write sharing stands in the way of the record's write: the
// catalog does not wait for it, the take fails and says why.
TEST_F(PartExporterTest, ARefusedRecordWriteFailsTheTakeAndSaysSo) {
    const std::string path = directory.file("out.sat");
    ASSERT_TRUE(writeWholeFile(path + ".txt", "old").empty());
    HANDLE reader = CreateFileA((path + ".txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    const auto result = exporter.take(bolt(), path, "SAT");
    CloseHandle(reader);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.text.find("record write failed"), std::string::npos) << result.text;
    EXPECT_NE(result.text.find("refused"), std::string::npos) << result.text;
}

// The reopening writer goes on after the take has returned, and leaves the record
// whole when its time is up.
TEST_F(PartExporterTest, AReopeningWriterRewritesTheRecordUntilItsTimeIsUp) {
    const std::string path = directory.file("out.sat");
    exporter.armReopeningWriter(300);
    ASSERT_TRUE(exporter.take(bolt(), path, "SAT").ok);
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Reopening);
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (exporter.pending() == PartExporter::Pending::Reopening && GetTickCount64() < deadline) Sleep(10);
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Nothing);
    EXPECT_EQ(readWholeFile(path + ".txt"), exportRecordText(bolt()));
}

TEST_F(PartExporterTest, FailsWithoutPathOrWithAnUnwritablePath) {
    EXPECT_FALSE(exporter.take(bolt(), "", "SAT").ok);
    EXPECT_FALSE(exporter.take(bolt(), directory.file("missing\\dir\\out.sat"), "SAT").ok);
}

}  // namespace
}  // namespace catalog
