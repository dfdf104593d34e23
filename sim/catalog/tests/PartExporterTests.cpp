// Take tests on real files: both files' content and each fault mode, with files the
// exporter keeps open probed the way another program would open them.
#include "common/ExportRecord.h"
#include "common/FileIo.h"
#include "common/GeometryText.h"
#include "common/PartCatalog.h"
#include "common/UniqueHandle.h"
#include "tests/TestFiles.h"
#include "viewer/PartExporter.h"

#include <gtest/gtest.h>

#include <functional>

namespace catalog {
namespace {

using testing::errorOfExclusiveOpen;
using testing::errorOfOpenForWriting;

constexpr DWORD kSharingViolation = ERROR_SHARING_VIOLATION;

class PartExporterTest : public ::testing::Test {
protected:
    std::string take(const std::string& to) {
        const auto taken = exporter.take(bolt, to, "SAT");
        return (taken.ok ? "" : "failed: ") + taken.text;
    }

    // The exporter goes after the directory, so that files it still holds open are
    // closed before the directory is removed.
    testing::TempDirectory directory;
    PartCatalog catalog;
    PartExporter exporter;
    const Part& bolt = *catalog.findPart("ISO4017", {{"D", "8"}, {"L", "40"}}).part;
    const std::string path = directory.file("out.sat");
    const std::string recordPath = path + ".txt";
    const std::string record = exportRecordText(bolt);
    const std::string geometry = geometryText(bolt, "SAT");
};

TEST_F(PartExporterTest, ABrokenGeometryOrALongRemarkAppliesToTheNextTakeOnly) {
    std::string remarked = record;
    remarked.insert(remarked.find("[MIDENT]"), "REMARK=012345678901\n");
    const struct {
        std::function<void()> arm;
        std::string geometry, record;
    } cases[] = {
        {[&] { exporter.armBrokenGeometry(); }, brokenGeometryText(bolt, "SAT"), record},
        {[&] { exporter.armLongRemark(12); }, geometry, remarked},
    };
    for (const auto& example : cases) {
        ASSERT_TRUE(writeWholeFile(recordPath, std::string(5000, 'x')).empty());
        example.arm();
        ASSERT_EQ(take(path), "written " + path);
        EXPECT_EQ(readWholeFile(path), example.geometry);
        EXPECT_EQ(readWholeFile(recordPath), example.record);
        ASSERT_EQ(take(path), "written " + path);
        EXPECT_EQ(readWholeFile(path), geometry);
        EXPECT_EQ(readWholeFile(recordPath), record);
    }
}

TEST_F(PartExporterTest, AHeldRecordAppearsOnReleaseOrIsDroppedByTheNextTake) {
    exporter.armHoldRecord();
    ASSERT_EQ(take(path), "held " + recordPath);
    EXPECT_EQ(readWholeFile(path), geometry);
    EXPECT_FALSE(readWholeFile(recordPath).has_value());
    EXPECT_EQ(exporter.releaseHeld().text, "released " + recordPath);
    EXPECT_EQ(readWholeFile(recordPath), record);
    EXPECT_FALSE(exporter.releaseHeld().ok);

    const std::string next = directory.file("next.sat");
    exporter.armHoldRecord();
    ASSERT_EQ(take(next), "held " + next + ".txt");
    ASSERT_EQ(take(next), "written " + next);
    EXPECT_EQ(readWholeFile(next + ".txt"), record);
    EXPECT_FALSE(exporter.releaseHeld().ok);
}

TEST_F(PartExporterTest, ANewTakeLeavesHeldGeometryHalfWritten) {
    exporter.armHoldGeometry();
    ASSERT_EQ(take(path), "held " + path);
    ASSERT_EQ(errorOfOpenForWriting(path), kSharingViolation);
    const std::string next = directory.file("next.sat");
    ASSERT_EQ(take(next), "written " + next);
    EXPECT_EQ(readWholeFile(path), geometry.substr(0, geometry.size() / 2));
    EXPECT_EQ(errorOfOpenForWriting(path), 0u);
    EXPECT_FALSE(readWholeFile(recordPath).has_value());
    EXPECT_EQ(readWholeFile(next), geometry);
    EXPECT_EQ(readWholeFile(next + ".txt"), record);
    EXPECT_FALSE(exporter.releaseHeld().ok);
}

TEST_F(PartExporterTest, HeldGeometryUsesUpARecordFaultAndReleasesTheWholeRecord) {
    exporter.armRecordPieces({4, 150, 0});
    exporter.armHoldGeometry();
    ASSERT_EQ(take(path), "held " + path);
    ASSERT_EQ(exporter.releaseHeld().text, "released " + path);
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Nothing);
    EXPECT_EQ(readWholeFile(recordPath), record);
    ASSERT_EQ(take(path), "written " + path);
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Nothing);
}

TEST_F(PartExporterTest, RecordInPiecesGrowsPieceByPieceWhileOpenAndEndsWhole) {
    ASSERT_TRUE(writeWholeFile(recordPath, std::string(5000, 'x')).empty());
    exporter.armRecordPieces({4, 150, 300});
    ASSERT_EQ(take(path), "writing " + recordPath);
    EXPECT_EQ(readWholeFile(path), geometry);
    for (unsigned piece = 0; piece <= 4; ++piece) {
        SCOPED_TRACE("piece " + std::to_string(piece));
        EXPECT_EQ(readWholeFile(recordPath), record.substr(0, record.size() * piece / 4));
        EXPECT_EQ(errorOfExclusiveOpen(recordPath), kSharingViolation);
        EXPECT_EQ(exporter.nextRecordStepInMs(), std::optional<unsigned>(piece < 4 ? 150 : 300));
        EXPECT_EQ(exporter.continueRecord().text, (piece < 4 ? "writing " : "written ") + recordPath);
    }
    EXPECT_EQ(exporter.nextRecordStepInMs(), std::nullopt);
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Nothing);
    EXPECT_EQ(errorOfExclusiveOpen(recordPath), 0u);
    EXPECT_EQ(readWholeFile(recordPath), record);
}

// Each touch rewrites the whole record, moving its last-write time, while kept open.
TEST_F(PartExporterTest, ATouchedRecordStaysWholeAndOpenWhileItsLastWriteTimeMoves) {
    exporter.armRecordPieces({1, 0, 500, 200});
    ASSERT_EQ(take(path), "writing " + recordPath);
    ASSERT_TRUE(exporter.continueRecord().ok);
    ASSERT_EQ(readWholeFile(recordPath), record);
    const FILETIME longAgo{0, 0x01000000};
    for (unsigned touch = 1; touch <= 2; ++touch) {
        SCOPED_TRACE("touch " + std::to_string(touch));
        EXPECT_EQ(exporter.nextRecordStepInMs(), std::optional<unsigned>(200));
        const DWORD shareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
        ASSERT_TRUE(SetFileTime(UniqueFileHandle(CreateFileA(recordPath.c_str(), FILE_WRITE_ATTRIBUTES, shareAll,
                                                             nullptr, OPEN_EXISTING, 0, nullptr)).get(),
                                nullptr, nullptr, &longAgo));
        ASSERT_TRUE(exporter.continueRecord().ok);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(GetFileAttributesExA(recordPath.c_str(), GetFileExInfoStandard, &data));
        EXPECT_NE(CompareFileTime(&data.ftLastWriteTime, &longAgo), 0) << "the touch moved the time";
        EXPECT_EQ(readWholeFile(recordPath), record);
        EXPECT_EQ(errorOfExclusiveOpen(recordPath), kSharingViolation);
    }
    EXPECT_EQ(exporter.nextRecordStepInMs(), std::optional<unsigned>(100));
    EXPECT_EQ(exporter.continueRecord().text, "written " + recordPath);
    EXPECT_EQ(errorOfExclusiveOpen(recordPath), 0u);
    EXPECT_EQ(readWholeFile(recordPath), record);
}

TEST_F(PartExporterTest, ANewTakeFinishesARecordInPiecesFirst) {
    exporter.armRecordPieces({4, 150, 0});
    ASSERT_EQ(take(path), "writing " + recordPath);
    ASSERT_TRUE(exporter.continueRecord().ok);
    ASSERT_EQ(errorOfExclusiveOpen(recordPath), kSharingViolation);
    const std::string next = directory.file("next.sat");
    ASSERT_EQ(take(next), "written " + next);
    EXPECT_EQ(errorOfExclusiveOpen(recordPath), 0u);
    EXPECT_EQ(readWholeFile(recordPath), record);
    EXPECT_EQ(readWholeFile(next + ".txt"), record);
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Nothing);
    EXPECT_FALSE(exporter.continueRecord().ok);
}

// A reader denying write sharing fails the take at once, and the take says why.
TEST_F(PartExporterTest, ARefusedRecordWriteFailsTheTakeAndSaysSo) {
    ASSERT_TRUE(writeWholeFile(recordPath, "old").empty());
    UniqueFileHandle reader(CreateFileA(recordPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader);
    const std::string result = take(path);
    reader.reset();
    EXPECT_EQ(result.rfind("failed: ", 0), 0u) << result;
    EXPECT_NE(result.find("record write failed"), std::string::npos) << result;
    EXPECT_NE(result.find("refused"), std::string::npos) << result;
}

TEST_F(PartExporterTest, AReopeningWriterRewritesTheRecordUntilItsTimeIsUp) {
    exporter.armReopeningWriter(300);
    ASSERT_EQ(take(path), "written " + path);
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Reopening);
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (exporter.pending() == PartExporter::Pending::Reopening && GetTickCount64() < deadline) Sleep(10);
    EXPECT_EQ(exporter.pending(), PartExporter::Pending::Nothing);
    EXPECT_EQ(readWholeFile(recordPath), record);
}

TEST_F(PartExporterTest, FailsWithoutPathOrWithAnUnwritablePath) {
    EXPECT_EQ(take("").rfind("failed: ", 0), 0u);
    EXPECT_EQ(take(directory.file("missing\\dir\\out.sat")).rfind("failed: ", 0), 0u);
}

}  // namespace
}  // namespace catalog
