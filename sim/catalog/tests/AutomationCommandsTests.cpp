// Automation command tests against a fake viewer: each command reaches the right
// action with the right arguments, and replies start with ok/error.
#include "viewer/AutomationCommands.h"

#include <gtest/gtest.h>

#include <optional>

namespace catalog {
namespace {

class FakeViewer : public ViewerActions {
public:
    ActionResult showPart(const std::string& key, const Variables& values) override {
        shownKey = key;
        shownValues = values;
        return key == "ISO4017" ? ActionResult::success("shown") : ActionResult::failure("unknown part " + key);
    }
    ActionResult take() override {
        ++takes;
        return ActionResult::success("written C:\\out.sat");
    }
    std::string shownDescription() const override { return "ISO4017 D=8 L=40"; }
    std::string statusText() const override { return "Opened: ISO 4017 - M8 x 40 - 8.8"; }
    std::string lastCommand() const override { return "mident=(none)"; }
    void armBrokenGeometry() override { brokenArmed = true; }
    void armHoldGeometry() override { holdGeometryArmed = true; }
    void armHoldRecord() override { holdArmed = true; }
    void armRecordPieces(const RecordPieces& pieces) override { armedPieces = pieces; }
    void armReopeningWriter(unsigned) override {}
    void armLongRemark(unsigned) override {}
    void armQuitAfterTake() override {}
    ActionResult releaseHeld() override { return ActionResult::failure("nothing held back"); }

    std::string shownKey;
    Variables shownValues;
    int takes = 0;
    bool brokenArmed = false;
    bool holdGeometryArmed = false;
    bool holdArmed = false;
    std::optional<RecordPieces> armedPieces;
};

TEST(AutomationCommands, TakeTakesTheShownPart) {
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("take", viewer), "ok written C:\\out.sat");
    EXPECT_EQ(viewer.takes, 1);
    EXPECT_TRUE(viewer.shownKey.empty());
}

TEST(AutomationCommands, TakeWithAPartShowsItFirst) {
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("take ISO4017 L=40 D=8", viewer), "ok written C:\\out.sat");
    EXPECT_EQ(viewer.shownKey, "ISO4017");
    EXPECT_EQ(viewer.shownValues, (Variables{{"L", "40"}, {"D", "8"}}));
    EXPECT_EQ(viewer.takes, 1);
}

TEST(AutomationCommands, TakeOfAnUnknownPartDoesNotTake) {
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("take ISO9999 D=8", viewer), "error unknown part ISO9999");
    EXPECT_EQ(viewer.takes, 0);
}

TEST(AutomationCommands, TakeRefusesAVariableWithoutValue) {
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("take ISO4017 D8", viewer).rfind("error", 0), 0u);
    EXPECT_EQ(runAutomationCommand("take ISO4017 =8", viewer).rfind("error", 0), 0u);
    EXPECT_EQ(viewer.takes, 0);
}

TEST(AutomationCommands, ShownRepliesWithPartAndStatus) {
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("shown", viewer),
              "ok ISO4017 D=8 L=40\nOpened: ISO 4017 - M8 x 40 - 8.8");
}

TEST(AutomationCommands, FaultsArmTheViewer) {
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("fault broken-geometry", viewer).rfind("ok", 0), 0u);
    EXPECT_TRUE(viewer.brokenArmed);
    EXPECT_EQ(runAutomationCommand("fault hold-geometry", viewer).rfind("ok", 0), 0u);
    EXPECT_TRUE(viewer.holdGeometryArmed);
    EXPECT_EQ(runAutomationCommand("fault hold-record", viewer).rfind("ok", 0), 0u);
    EXPECT_TRUE(viewer.holdArmed);
    EXPECT_EQ(runAutomationCommand("fault melt", viewer).rfind("error", 0), 0u);
    EXPECT_EQ(runAutomationCommand("fault hold-geometry now", viewer).rfind("error", 0), 0u);
}

TEST(AutomationCommands, PiecesFaultTakesCountPauseAndOpenTime) {
    const struct {
        const char* command;
        RecordPieces pieces;
    } cases[] = {
        {"fault pieces", {4, 150, 0}},
        {"fault pieces 3", {3, 150, 0}},
        {"fault pieces 5 20", {5, 20, 0}},
        {"fault pieces 2 100 open 400", {2, 100, 400}},
        {"fault pieces 6 open 50", {6, 150, 50}},
        {"fault pieces open 400", {4, 150, 400}},
        {"fault pieces 1 0 open 0", {1, 0, 0}},
        {"fault pieces 100 60000 open 60000", {100, 60000, 60000}},
    };
    for (const auto& example : cases) {
        FakeViewer viewer;
        EXPECT_EQ(runAutomationCommand(example.command, viewer).rfind("ok", 0), 0u) << example.command;
        EXPECT_EQ(viewer.armedPieces, std::optional<RecordPieces>(example.pieces)) << example.command;
    }
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("fault pieces 3 200 open 500", viewer),
              "ok next take writes its record in 3 pieces 200 ms apart, open 500 ms after the last");
}

TEST(AutomationCommands, PiecesFaultRefusesBadArgumentsWithoutArming) {
    const char* commands[] = {"fault pieces 0",          "fault pieces x",
                              "fault pieces -1",         "fault pieces 101",
                              "fault pieces 4 60001",    "fault pieces 4 1.5",
                              "fault pieces 4 150 open", "fault pieces 4 150 400",
                              "fault pieces 4 150 open 10 11", "fault pieces 4 150 shut 10",
                              "fault pieces open",       "fault pieces 4 150 open 60001"};
    for (const char* command : commands) {
        FakeViewer viewer;
        EXPECT_EQ(runAutomationCommand(command, viewer).rfind("error", 0), 0u) << command;
        EXPECT_FALSE(viewer.armedPieces.has_value()) << command;
    }
}

TEST(AutomationCommands, ReleasePassesTheViewersAnswer) {
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("release", viewer), "error nothing held back");
}

TEST(AutomationCommands, UnknownOrEmptyCommandsAreErrors) {
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("", viewer), "error empty command");
    EXPECT_EQ(runAutomationCommand("dance", viewer).rfind("error", 0), 0u);
    EXPECT_EQ(runAutomationCommand("shown extra", viewer).rfind("error", 0), 0u);
}

}  // namespace
}  // namespace catalog
