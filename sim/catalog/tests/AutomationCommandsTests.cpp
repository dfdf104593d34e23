// Automation command tests against a fake viewer: how the pieces fault reads its
// numbers, and every malformed command refused without a take or an armed fault.
// What a well-formed command does to the real viewer the road scripts and the
// explorer show (the part taken, the replies to "shown" and "command", each fault
// and "release").
#include "viewer/AutomationCommands.h"

#include <gtest/gtest.h>

#include <optional>

namespace catalog {
namespace {

class FakeViewer : public ViewerActions {
public:
    ActionResult showPart(const std::string& key, const Variables&) override {
        return key == "ISO4017" ? ActionResult::success("shown") : ActionResult::failure("unknown part " + key);
    }
    ActionResult take() override {
        ++takes;
        return ActionResult::success("written C:\\out.sat");
    }
    std::string shownDescription() const override { return "ISO4017 D=8 L=40"; }
    std::string statusText() const override { return "Opened: ISO 4017 - M8 x 40 - 8.8"; }
    std::string lastCommand() const override { return "mident=(none)"; }
    void armBrokenGeometry() override { ++armed; }
    void armHoldGeometry() override { ++armed; }
    void armHoldRecord() override { ++armed; }
    void armRecordPieces(const RecordPieces& pieces) override { armedPieces = pieces; }
    void armReopeningWriter(unsigned) override { ++armed; }
    void armLongRemark(unsigned) override { ++armed; }
    void armQuitAfterTake() override { ++armed; }
    ActionResult releaseHeld() override { return ActionResult::failure("nothing held back"); }

    int takes = 0;
    int armed = 0;
    std::optional<RecordPieces> armedPieces;
};

TEST(AutomationCommands, PiecesFaultTakesCountPauseOpenTimeAndTouches) {
    const struct {
        const char* command;
        RecordPieces pieces;
    } cases[] = {
        {"fault pieces", {4, 150, 0}}, {"fault pieces 3", {3, 150, 0}}, {"fault pieces 5 20", {5, 20, 0}},
        {"fault pieces 2 100 open 400", {2, 100, 400}}, {"fault pieces 6 open 50", {6, 150, 50}},
        {"fault pieces open 400", {4, 150, 400}}, {"fault pieces 1 0 open 0", {1, 0, 0}},
        {"fault pieces 100 60000 open 60000", {100, 60000, 60000}},
        {"fault pieces 1 0 open 5000 touch 200", {1, 0, 5000, 200}},
        {"fault pieces open 400 touch 1", {4, 150, 400, 1}},
    };
    for (const auto& example : cases) {
        FakeViewer viewer;
        EXPECT_EQ(runAutomationCommand(example.command, viewer).rfind("ok", 0), 0u) << example.command;
        EXPECT_EQ(viewer.armedPieces, std::optional<RecordPieces>(example.pieces)) << example.command;
    }
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("fault pieces 3 200 open 500", viewer),
              "ok next take writes its record in 3 pieces 200 ms apart, open 500 ms after the last");
    EXPECT_EQ(runAutomationCommand("fault pieces 1 0 open 5000 touch 200", viewer),
              "ok next take writes its record in 1 pieces 0 ms apart, open 5000 ms after the last, "
              "written over every 200 ms meanwhile");
}

TEST(AutomationCommands, RefusesMalformedCommandsWithoutTakingOrArming) {
    const char* commands[] = {
        "", "dance", "shown extra", "command extra", "take ISO4017 D8", "take ISO4017 =8",
        "take ISO9999 D=8", "fault melt", "fault hold-geometry now", "fault pieces 0", "fault pieces x",
        "fault pieces -1", "fault pieces 101", "fault pieces 4 60001", "fault pieces 4 1.5",
        "fault pieces 4 150 open", "fault pieces 4 150 400", "fault pieces 4 150 open 10 11",
        "fault pieces 4 150 shut 10", "fault pieces open", "fault pieces 4 150 open 60001",
        "fault pieces 1 0 touch 200", "fault pieces 1 0 open 500 touch", "fault pieces 1 0 open 500 touch 0",
        "fault pieces 1 0 open 500 touch 60001", "fault pieces 1 0 open 500 touch 200 9",
        "fault pieces 1 0 open 500 poke 200"};
    for (const char* command : commands) {
        FakeViewer viewer;
        EXPECT_EQ(runAutomationCommand(command, viewer).rfind("error", 0), 0u) << command;
        EXPECT_EQ(viewer.takes, 0) << command;
        EXPECT_EQ(viewer.armed, 0) << command;
        EXPECT_FALSE(viewer.armedPieces.has_value()) << command;
    }
}

}  // namespace
}  // namespace catalog
