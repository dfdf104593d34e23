// The host's part calls on placed objects: attributes keep their order and are
// replaced in place, values are cut at 255 characters, placements follow the
// row-vector convention, a removed object takes its bodies with it and any later
// call on it is refused and reported, and context units stay balanced.
#include "DoReader.h"
#include "DrawingTestSupport.h"

#include <cmath>

namespace {

_ObObject* AddPart(long id, const sim::PartAttributes& attributes = {})
{
    std::string error;
    _ObObject* part = sim::AddPart(id, attributes, error);
    EXPECT_NE(part, nullptr) << error;
    return part;
}

// --- Attributes ---

TEST_F(DrawingTest, AttributesAreReadInTheirOrder)
{
    _ObObject* part = AddPart(7, {{"obkind", "part"}, {"bibname", "M8 bolt"}, {"bibpath", "x"}});
    ContextUnit context;
    CiPat pat(context.id());
    DsAttributeList list{{"stale", "entry"}};
    ASSERT_EQ(pat.GetAttrList(DsCsr(part), list), 0);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].name.string(), "obkind");
    EXPECT_EQ(list[1].name.string(), "bibname");
    EXPECT_EQ(list[1].value.string(), "M8 bolt");
    EXPECT_EQ(list[2].name.string(), "bibpath");
}

TEST_F(DrawingTest, ChangedAttributeIsReplacedInPlaceOrAppended)
{
    _ObObject* part = AddPart(7, {{"a", "1"}, {"b", "2"}});
    ContextUnit context;
    CiPat pat(context.id());
    EXPECT_EQ(pat.ChgAttr(DsCsr(part), "a", "changed"), 0);
    EXPECT_EQ(pat.ChgAttr(DsCsr(part), "c", "3"), 0);
    EXPECT_EQ(Reported("drawing.objects[0].attributes").write(),
              "[[\"a\",\"changed\"],[\"b\",\"2\"],[\"c\",\"3\"]]");
}

TEST_F(DrawingTest, AttributeValuesAreCutAt255Characters)
{
    _ObObject* part = AddPart(7);
    ContextUnit context;
    CiPat pat(context.id());
    std::string longValue = std::string(255, 'x') + "cut off";
    ASSERT_EQ(pat.ChgAttr(DsCsr(part), "bibpath", longValue.c_str()), 0);
    DsAttributeList list;
    ASSERT_EQ(pat.GetAttrList(DsCsr(part), list), 0);
    EXPECT_EQ(list.at(0).value.string(), std::string(255, 'x'));
}

TEST_F(DrawingTest, AttributeNamesAreKnownOnceDefined)
{
    int type = 0, visibility = 0, length = 0, flags = 0;
    for (const char* builtIn : {"obkind", "bibname", "bibpath"})
        EXPECT_EQ(DsAttrGetFormat(builtIn, &type, &visibility, &length, &flags), 0) << builtIn;
    EXPECT_NE(DsAttrGetFormat("tarnvel_id", &type, &visibility, &length, &flags), 0);
    EXPECT_EQ(DsAttrSetDef("tarnvel_id", 5, 1, 255, 0, "tarnvel_id"), 0);
    EXPECT_EQ(DsAttrGetFormat("tarnvel_id", &type, &visibility, &length, &flags), 0);
    EXPECT_EQ(length, 255);
    EXPECT_EQ(DsAttrSetDef("tarnvel_id", 5, 1, 255, 0, "tarnvel_id"), 0);
    // Every definition shows, so that one made twice is seen.
    EXPECT_EQ(Reported("attributeDefinitions").write(), "[\"tarnvel_id\",\"tarnvel_id\"]");
}

TEST_F(DrawingTest, EveryAttributeDefinitionCallIsRecordedWithItsArguments)
{
    EXPECT_EQ(DsAttrSetDef("TVL_ID0", 5, 1, 255, 0, "TVL_ID0"), 0);
    EXPECT_EQ(DsAttrSetDef("other", 2, 0, 80, 4, "shown name"), 0);
    EXPECT_NE(DsAttrSetDef(nullptr, 5, 1, 255, 0, nullptr), 0);
    EXPECT_NE(DsAttrSetDef("", 5, 1, 255, 0, ""), 0);
    EXPECT_EQ(Reported("attributeDefinitionCalls").write(),
              R"([["TVL_ID0",5,1,255,0,"TVL_ID0"],["other",2,0,80,4,"shown name"],)"
              R"([null,5,1,255,0,null],["",5,1,255,0,""]])");
    // Refused calls define nothing.
    EXPECT_EQ(Reported("attributeDefinitions").write(), R"(["TVL_ID0","other"])");
}

TEST_F(DrawingTest, CallsWithoutAnObjectFailQuietly)
{
    ContextUnit context;
    CiPat pat(context.id());
    DsAttributeList list;
    int notAnObject = 0;
    EXPECT_NE(pat.GetAttrList(DsCsr(), list), 0);
    EXPECT_NE(pat.GetAttrList(DsCsr(nullptr), list), 0);
    EXPECT_NE(pat.GetAttrList(DsCsr(reinterpret_cast<_ObObject*>(&notAnObject)), list), 0);
    EXPECT_NE(pat.ChgAttr(DsCsr(), "a", "b"), 0);
    EXPECT_EQ(Reported("asserts.length").number(), 0);
}

// --- Placements ---

TEST_F(DrawingTest, ConcatMeansFirstThenSecond)
{
    GeMat44 turn;  // a quarter turn about Z
    turn.m[0][0] = 0;
    turn.m[0][1] = 1;
    turn.m[1][0] = -1;
    turn.m[1][1] = 0;
    GeMat44 move;
    move.m[3][0] = 10;
    GeMat44 result;
    Mt44Concat(turn, move, result);
    EXPECT_EQ(result.m[3][0], 10);  // turned, then moved: the move is not turned
    EXPECT_EQ(result.m[3][1], 0);
    Mt44Concat(move, turn, result);
    EXPECT_EQ(result.m[3][0], 0);  // moved, then turned: (10 0 0) becomes (0 10 0)
    EXPECT_EQ(result.m[3][1], 10);
    Mt44Concat(result, result, result);  // the result may be an input
    EXPECT_EQ(result.m[0][0], -1);
}

TEST_F(DrawingTest, TransAppliesTheMatrixAfterThePartMatrix)
{
    sim::LocateAt(10, 0, 0);
    _ObObject* part = AddPart(7);
    ContextUnit context;
    CiPat pat(context.id());
    const double quarterTurn[4][4] = {{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    ASSERT_EQ(pat.Trans(DsCsr(part), quarterTurn, 1, 0), 0);
    GeMat44 matrix;
    ASSERT_EQ(pat.GetMat(DsCsr(part), matrix), 0);
    EXPECT_NEAR(matrix.m[3][0], 0, 1e-12);  // (10 0 0) turned is (0 10 0)
    EXPECT_NEAR(matrix.m[3][1], 10, 1e-12);
    EXPECT_NEAR(matrix.m[0][1], 1, 1e-12);
}

TEST_F(DrawingTest, EveryTransIsRecordedWithItsArguments)
{
    _ObObject* part = AddPart(7);
    ContextUnit context;
    CiPat pat(context.id());
    const double move[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 2, 3, 1}};
    ASSERT_EQ(pat.Trans(DsCsr(part), move, 1, 0), 0);
    ASSERT_NE(pat.Trans(DsCsr(), move, 0, 1), 0);
    ASSERT_NE(pat.Trans(DsCsr(part), nullptr, 2, 3), 0);

    EXPECT_EQ(Reported("transforms").write(),
              R"([{"object":7,"matrix":[1,0,0,0,0,1,0,0,0,0,1,0,1,2,3,1],"withSubs":1,"update":0,"result":0},)"
              R"({"object":null,"matrix":[1,0,0,0,0,1,0,0,0,0,1,0,1,2,3,1],"withSubs":0,"update":1,"result":1},)"
              R"({"object":7,"matrix":null,"withSubs":2,"update":3,"result":1}])");
}

TEST_F(DrawingTest, WorldPlacementIsPartMatrixThenWorkspaceMatrix)
{
    ASSERT_TRUE(sim::DefineWorkspace(2, 100, 50, 0, 90));
    ASSERT_EQ(DxSetActiveWorkspace(2), 0);
    sim::LocateAt(10, 0, 0);
    _ObObject* inWorkspace = AddPart(7);
    ASSERT_EQ(DsSetActiveWorkspace(0), 0);
    _ObObject* outside = AddPart(8);

    ContextUnit context;
    CiPat pat(context.id());
    GeMat44 partMatrix, workspaceMatrix, world;
    ASSERT_EQ(pat.GetMat(DsCsr(inWorkspace), partMatrix), 0);
    ASSERT_EQ(pat.GetWorkMat(DsCsr(inWorkspace), workspaceMatrix), 0);
    Mt44Concat(partMatrix, workspaceMatrix, world);
    // The part's origin (10 0 0) is turned to (0 10 0), then moved by (100 50 0).
    EXPECT_NEAR(world.m[3][0], 100, 1e-12);
    EXPECT_NEAR(world.m[3][1], 60, 1e-12);
    EXPECT_EQ(Reported("drawing.objects[0].world").write(), "[0,1,0,0,-1,0,0,0,0,0,1,0,100,60,0,1]");

    ASSERT_EQ(pat.GetWorkMat(DsCsr(outside), workspaceMatrix), 0);
    EXPECT_EQ(workspaceMatrix.m[3][0], 0);
    EXPECT_EQ(workspaceMatrix.m[0][0], 1);
}

TEST_F(DrawingTest, ActiveWorkspaceIsReportedAndSwitched)
{
    ASSERT_TRUE(sim::DefineWorkspace(3, 0, 0, 0, 0));
    EXPECT_FALSE(sim::DefineWorkspace(3, 1, 0, 0, 0));
    EXPECT_NE(DxSetActiveWorkspace(4), 0);  // never made
    ContextUnit context;
    CiWork work(context.id());
    unsigned long active = 99;
    ASSERT_EQ(work.Act(active), 0);
    EXPECT_EQ(active, 0u);
    ASSERT_EQ(DxSetActiveWorkspace(3), 0);
    ASSERT_EQ(work.Act(active), 0);
    EXPECT_EQ(active, 3u);
    EXPECT_EQ(Reported("drawing.activeWorkspace").number(), 3);
}

// --- Removal ---

TEST_F(DrawingTest, RemovedPartTakesItsBodiesAndLaterCallsAreReported)
{
    ASSERT_EQ(DoReadDraw(WriteGeometry("good.txt", GoodGeometry()), DO_READ_INSERT_PART, 0, nullptr), 0);
    _ObObject* part = sim::FindPart(1000);
    ASSERT_NE(part, nullptr);
    ContextUnit context;
    CiPat pat(context.id());
    ASSERT_EQ(pat.DelInklSubs(DsCsr(part)), 0);
    EXPECT_EQ(Reported("drawing.objects.length").number(), 0);
    EXPECT_EQ(sim::FindPart(1000), nullptr);
    EXPECT_EQ(sim::ObjectId(part), 1000);  // still in memory

    DsAttributeList list;
    GeMat44 matrix;
    const double rows[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
    EXPECT_NE(pat.GetAttrList(DsCsr(part), list), 0);
    EXPECT_NE(pat.ChgAttr(DsCsr(part), "a", "b"), 0);
    EXPECT_NE(pat.GetMat(DsCsr(part), matrix), 0);
    EXPECT_NE(pat.GetWorkMat(DsCsr(part), matrix), 0);
    EXPECT_NE(pat.Trans(DsCsr(part), rows, 1, 0), 0);
    EXPECT_NE(pat.DelInklSubs(DsCsr(part)), 0);
    ASSERT_EQ(Reported("asserts.length").number(), 6);
    sim::Json report = Reported("asserts[0]");
    EXPECT_EQ(report.at("file").text(), "simhost");
    EXPECT_EQ(report.at("function").text(), "CiPat::GetAttrList");
    EXPECT_EQ(report.at("format").text(), "use of a deleted object %s");
    EXPECT_EQ(report.at("argument").text(), "id");
    EXPECT_EQ(report.at("value").number(), 1000);
    EXPECT_EQ(Reported("asserts[5].function").text(), "CiPat::DelInklSubs");
}

TEST_F(DrawingTest, RemovingOnePartLeavesTheOthers)
{
    AddPart(7);
    _ObObject* second = AddPart(8);
    AddPart(9);
    ContextUnit context;
    CiPat pat(context.id());
    ASSERT_EQ(pat.DelInklSubs(DsCsr(second)), 0);
    EXPECT_EQ(Reported("drawing.objects.length").number(), 2);
    EXPECT_EQ(Reported("drawing.objects[1].id").number(), 9);
    std::string error;
    EXPECT_EQ(sim::AddPart(8, {}, error), nullptr);  // ids are not given twice
    EXPECT_EQ(sim::AddPart(9, {}, error), nullptr);
}

// --- Context units ---

TEST_F(DrawingTest, ContextUnitsAreCountedUntilClosed)
{
    long first = CiContext::Add();
    long second = CiContext::Add();
    EXPECT_NE(first, second);
    EXPECT_EQ(Reported("openContexts").number(), 2);
    EXPECT_EQ(CiContext::Update(first), 0);
    EXPECT_EQ(CiContext::Update(first), 0);
    EXPECT_EQ(Reported("updates").number(), 2);
    EXPECT_EQ(CiContext::Del(first), 0);
    EXPECT_NE(CiContext::Del(first), 0);
    EXPECT_NE(CiContext::Update(first), 0);
    EXPECT_EQ(CiContext::Del(second), 0);
    EXPECT_EQ(Reported("openContexts").number(), 0);
}

TEST_F(DrawingTest, CallsWithAClosedContextUnitAreRefusedAndReported)
{
    _ObObject* part = AddPart(7);
    long unit = CiContext::Add();
    CiPat pat(unit);
    CiContext::Del(unit);
    DsAttributeList list;
    EXPECT_NE(pat.GetAttrList(DsCsr(part), list), 0);
    EXPECT_EQ(Reported("asserts[0].format").text(), "use of a closed context %s");
    EXPECT_EQ(Reported("asserts[0].value").number(), unit);
}

}  // namespace
