// Automation command tests against a fake viewer: each command reaches the right
// action with the right arguments, and replies start with ok/error.
#include "viewer/AutomationCommands.h"

#include <gtest/gtest.h>

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
    void armBrokenGeometry() override { brokenArmed = true; }
    void armHoldRecord() override { holdArmed = true; }
    ActionResult releaseHeldRecord() override { return ActionResult::failure("no record held back"); }

    std::string shownKey;
    Variables shownValues;
    int takes = 0;
    bool brokenArmed = false;
    bool holdArmed = false;
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
    EXPECT_EQ(runAutomationCommand("fault hold-record", viewer).rfind("ok", 0), 0u);
    EXPECT_TRUE(viewer.holdArmed);
    EXPECT_EQ(runAutomationCommand("fault melt", viewer).rfind("error", 0), 0u);
}

TEST(AutomationCommands, ReleasePassesTheViewersAnswer) {
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("release", viewer), "error no record held back");
}

TEST(AutomationCommands, UnknownOrEmptyCommandsAreErrors) {
    FakeViewer viewer;
    EXPECT_EQ(runAutomationCommand("", viewer), "error empty command");
    EXPECT_EQ(runAutomationCommand("dance", viewer).rfind("error", 0), 0u);
    EXPECT_EQ(runAutomationCommand("shown extra", viewer).rfind("error", 0), 0u);
}

}  // namespace
}  // namespace catalog
