// The host's drawing reader: a good geometry file becomes one library part with a
// body sub-object per line, a bad one changes nothing; the read mode and the
// locating mode decide where the part goes and to which workspace it belongs.
// Every read is recorded with the modes and the workspace in force when it began.
#include "DoReader.h"
#include "DrawingTestSupport.h"

#include <string>
#include <vector>

namespace {

TEST_F(DrawingTest, ReaderMakesOneLibraryPartWithABodyPerLine)
{
    ASSERT_EQ(DoReadDraw(WriteGeometry("good.txt", GoodGeometry()), DO_READ_INSERT_PART, 0, nullptr), 0);

    ASSERT_EQ(Reported("drawing.objects.length").number(), 1);
    sim::Json part = Reported("drawing.objects[0]");
    EXPECT_EQ(part.at("id").number(), 1000);
    EXPECT_EQ(part.at("type").number(), OB_TYPE_LIBRARY_PART);
    EXPECT_EQ(part.at("attributes.length").number(), 0);
    EXPECT_EQ(part.at("designation").text(), "ISO 4017 - M8x40 - 8.8");
    ASSERT_EQ(part.at("subObjects.length").number(), 5);
    const char* kinds[] = {"cylinder", "hexprism", "hextube", "tube", "sphere"};
    for (int i = 0; i < 5; ++i) {
        std::string sub = "subObjects[" + std::to_string(i) + "]";
        EXPECT_EQ(part.at(sub + ".kind").text(), kinds[i]);
        EXPECT_EQ(part.at(sub + ".type").number(), 1);
        EXPECT_EQ(part.at(sub + ".id").number(), 1001 + i);
    }
    EXPECT_EQ(part.at("subObjects[1].values").write(), "[0,0,-5.3,13,5.3]");
    EXPECT_EQ(part.at("subObjects[4].values").write(), "[0,0,10,3.5]");
}

TEST_F(DrawingTest, ReaderAcceptsCrLfLineEnds)
{
    std::string text;
    for (char c : GoodGeometry())
        text += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(DoReadDraw(WriteGeometry("crlf.txt", text), DO_READ_INSERT_PART, 0, nullptr), 0);
    EXPECT_EQ(Reported("drawing.objects[0].designation").text(), "ISO 4017 - M8x40 - 8.8");
}

TEST_F(DrawingTest, ReaderGivesEveryNewPartTheNextFreeId)
{
    std::string error;
    ASSERT_NE(sim::AddPart(1500, {}, error), nullptr);
    std::string file = WriteGeometry("good.txt", GoodGeometry());
    ASSERT_EQ(DoReadDraw(file, DO_READ_INSERT_PART, 0, nullptr), 0);
    EXPECT_EQ(LastObjectId(), 1501);
    ASSERT_EQ(DoReadDraw(file, DO_READ_INSERT_PART, 0, nullptr), 0);
    EXPECT_EQ(LastObjectId(), 1507);  // after the first read's five bodies
}

struct BrokenFile {
    const char* what;
    std::string text;
};

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    return text.replace(text.find(from), from.size(), to);
}

std::vector<BrokenFile> BrokenFiles()
{
    const std::string good = DrawingTest::GoodGeometry();
    return {
        {"empty", ""},
        {"wrong format line", Replaced(good, "TARNVEL-GEOMETRY 1", "TARNVEL-GEOMETRY 2")},
        {"no part line", Replaced(good, "part HEXBOLT ISO 4017 - M8x40 - 8.8\n", "")},
        {"part line without key", Replaced(good, "part HEXBOLT ISO 4017 - M8x40 - 8.8", "part")},
        {"no format line", Replaced(good, "format STEP\n", "")},
        {"other units", Replaced(good, "units mm", "units inch")},
        {"unknown body", Replaced(good, "cylinder", "cone")},
        {"short body line", Replaced(good, "cylinder 0 0 0 4 40", "cylinder 0 0 0 4")},
        {"long body line", Replaced(good, "sphere 0 0 10 3.5", "sphere 0 0 10 3.5 1")},
        {"number that is not one", Replaced(good, "tube 0 0 0 8 4.3 1.6", "tube 0 0 0 8 4,3 1.6")},
        {"no end line", Replaced(good, "end\n", "")},
        {"cut in a body line", good.substr(0, good.find("hexprism") + 12)},
        {"no bodies", "TARNVEL-GEOMETRY 1\npart K d\nformat STEP\nunits mm\nend\n"},
        {"text after the end line", good + "cylinder 0 0 0 1 1\n"},
    };
}

TEST_F(DrawingTest, ReaderRefusesEveryBrokenFileAndCreatesNothing)
{
    int number = 0;
    for (const BrokenFile& broken : BrokenFiles()) {
        std::string file = WriteGeometry("broken" + std::to_string(++number) + ".txt", broken.text);
        EXPECT_NE(DoReadDraw(file, DO_READ_INSERT_PART, 0, nullptr), 0) << broken.what;
        EXPECT_NE(DoReadDraw(file, DO_READ_REPLACE_PART, 0, nullptr), 0) << broken.what;
    }
    EXPECT_NE(DoReadDraw((temp_ / "missing.txt").string(), DO_READ_INSERT_PART, 0, nullptr), 0);
    EXPECT_EQ(Reported("drawing.objects.length").number(), 0);
}

TEST_F(DrawingTest, ReaderRefusesOtherModes)
{
    std::string file = WriteGeometry("good.txt", GoodGeometry());
    for (int mode : {0, 1, 3, 8, 10})
        EXPECT_NE(DoReadDraw(file, mode, 0, nullptr), 0) << mode;
    EXPECT_EQ(Reported("drawing.objects.length").number(), 0);
}

const char* const TRANSLATION_10_20_30 = "[1,0,0,0,0,1,0,0,0,0,1,0,10,20,30,1]";
const char* const IDENTITY = "[1,0,0,0,0,1,0,0,0,0,1,0,0,0,0,1]";

TEST_F(DrawingTest, InsertedPartGoesToTheLocatedPointOnlyWhileLocating)
{
    std::string file = WriteGeometry("good.txt", GoodGeometry());
    sim::LocateAt(10, 20, 30);

    ASSERT_EQ(DoReadDraw(file, DO_READ_INSERT_PART, 0, nullptr), 0);
    EXPECT_EQ(Reported("drawing.objects[0].matrix").write(), IDENTITY);

    EXPECT_EQ(DoSetLocateParts(1), 0);
    ASSERT_EQ(DoReadDraw(file, DO_READ_INSERT_PART, 0, nullptr), 0);
    EXPECT_EQ(Reported("drawing.objects[1].matrix").write(), TRANSLATION_10_20_30);

    ASSERT_EQ(DoReadDraw(file, DO_READ_REPLACE_PART, 0, nullptr), 0);
    EXPECT_EQ(Reported("drawing.objects[2].matrix").write(), IDENTITY);
    EXPECT_EQ(DoSetLocateParts(0), 1);
}

TEST_F(DrawingTest, ReadPartBelongsToTheActiveWorkspace)
{
    std::string file = WriteGeometry("good.txt", GoodGeometry());
    ASSERT_TRUE(sim::DefineWorkspace(1, 100, 0, 0, 90));
    ASSERT_EQ(DxSetActiveWorkspace(1), 0);
    DoSetLocateParts(1);
    sim::LocateAt(10, 20, 30);

    ASSERT_EQ(DoReadDraw(file, DO_READ_INSERT_PART, 0, nullptr), 0);
    EXPECT_EQ(Reported("drawing.objects[0].workspace").number(), 1);
    EXPECT_EQ(Reported("drawing.objects[0].matrix").write(), TRANSLATION_10_20_30);
    // (10 20 30) turned a quarter about Z is (-20 10 30), then moved by 100 in X.
    EXPECT_EQ(Reported("drawing.objects[0].world").write(), "[0,1,0,0,-1,0,0,0,0,0,1,0,80,10,30,1]");

    ASSERT_EQ(DoReadDraw(file, DO_READ_REPLACE_PART, 0, nullptr), 0);
    EXPECT_EQ(Reported("drawing.objects[1].workspace").number(), 1);

    ASSERT_EQ(DsSetActiveWorkspace(0), 0);
    ASSERT_EQ(DoReadDraw(file, DO_READ_REPLACE_PART, 0, nullptr), 0);
    EXPECT_EQ(Reported("drawing.objects[2].workspace").number(), 0);
    EXPECT_EQ(Reported("drawing.objects[2].world").write(), IDENTITY);
}

TEST_F(DrawingTest, ReaderModesGiveBackWhatTheyReplaced)
{
    EXPECT_EQ(DoReadSilentSuccess(1), 0);
    EXPECT_EQ(DoReadSilentSuccess(0), 1);
    EXPECT_EQ(DoManipKeepBibSetModes(3), 0);
    EXPECT_EQ(DoReadBibModify(2), 0);
    DoManipSetOnce(1);
    DoReadBibModifyId(42);
    EXPECT_EQ(Reported("modes").write(),
              "{\"manipSetOnce\":1,\"readSilentSuccess\":0,\"keepBibSetModes\":3,"
              "\"readBibModify\":2,\"readBibModifyId\":42,\"locateParts\":0}");
    EXPECT_EQ(DoManipKeepBibSetModes(0), 3);
    EXPECT_EQ(DoReadBibModify(0), 2);
}

// A read that fails is recorded too, with what was in force for it.
TEST_F(DrawingTest, EveryReadIsRecordedWithTheModesAndWorkspaceItBeganWith)
{
    std::string good = WriteGeometry("good.txt", GoodGeometry());
    std::string missing = (temp_ / "missing.txt").string();
    ASSERT_TRUE(sim::DefineWorkspace(3, 0, 0, 0, 0));
    ASSERT_EQ(DxSetActiveWorkspace(3), 0);
    DoManipSetOnce(1);
    DoReadSilentSuccess(2);
    DoManipKeepBibSetModes(3);
    DoReadBibModify(4);
    DoReadBibModifyId(5);
    DoSetLocateParts(6);
    ASSERT_EQ(DoReadDraw(good, DO_READ_INSERT_PART, 0, nullptr), 0);
    DoSetLocateParts(0);
    ASSERT_EQ(DsSetActiveWorkspace(0), 0);
    ASSERT_NE(DoReadDraw(missing, DO_READ_REPLACE_PART, 0, nullptr), 0);
    ASSERT_NE(DoReadDraw(good, 7, 0, nullptr), 0);

    ASSERT_EQ(Reported("reads.length").number(), 3);
    sim::Json first = Reported("reads[0]");
    EXPECT_EQ(first.at("file").text(), good);
    EXPECT_EQ(first.at("mode").number(), DO_READ_INSERT_PART);
    EXPECT_EQ(first.at("modes").write(),
              R"({"manipSetOnce":1,"readSilentSuccess":2,"keepBibSetModes":3,)"
              R"("readBibModify":4,"readBibModifyId":5,"locateParts":6})");
    EXPECT_EQ(first.at("activeWorkspace").number(), 3);
    EXPECT_EQ(first.at("object").number(), 1000);
    EXPECT_EQ(first.at("result").number(), 0);

    sim::Json failed = Reported("reads[1]");
    EXPECT_EQ(failed.at("file").text(), missing);
    EXPECT_EQ(failed.at("mode").number(), DO_READ_REPLACE_PART);
    EXPECT_EQ(failed.at("modes.locateParts").number(), 0);
    EXPECT_EQ(failed.at("activeWorkspace").number(), 0);
    EXPECT_TRUE(failed.at("object").isNull());
    EXPECT_NE(failed.at("result").number(), 0);
    EXPECT_EQ(Reported("reads[2].mode").number(), 7);

    sim::ClearReport();
    EXPECT_EQ(Reported("reads.length").number(), 0);
}

}  // namespace
