// The host stand-in's services that the plug-in relies on: settings, paths and the
// modal message. Deferred macro calls and events from other threads are proven by
// every road script's import and by the plug-in's own unit tests.
#include "SimControl.h"
#include "TrtMessages.h"
#include "UtSystem.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class HostServices : public ::testing::Test {
protected:
    void SetUp() override { sim::ResetHost(); }
};

TEST_F(HostServices, EnvironmentSettingsFallBackToTheDefault)
{
    SetEnvironmentVariableA("TARNVEL_TEST_SETTING", "value");
    EXPECT_EQ(OsGetEnvDflt("TARNVEL_TEST_SETTING", "dflt").string(), "value");
    EXPECT_EQ(OsGetEnvOrLocalMachine("TARNVEL_TEST_SETTING", "dflt").string(), "value");
    SetEnvironmentVariableA("TARNVEL_TEST_SETTING", "");
    EXPECT_EQ(OsGetEnvDflt("TARNVEL_TEST_SETTING", "dflt").string(), "dflt");
    SetEnvironmentVariableA("TARNVEL_TEST_SETTING", nullptr);
    EXPECT_EQ(OsGetEnvOrLocalMachine("TARNVEL_TEST_SETTING", "dflt").string(), "dflt");
}

// One separator or none between folder and file is the command line tests'.
TEST_F(HostServices, JoinPathFileCutsAtTheBuffer)
{
    char out[UT_MAX_PATH];
    UtJoinPathFile(std::string(2000, 'd'), "a.sat", out);
    EXPECT_EQ(std::string(out).size(), std::size_t(UT_MAX_PATH - 1));
}

TEST_F(HostServices, MessageAnsweredByNumberOrLabelAmongShownButtons)
{
    unsigned short answer = 0;
    sim::QueueAnswer("abbruch");
    EXPECT_EQ(GoDoMessageReturn("c", "t", "", "OK", "", "Abbruch", "", answer), 0);
    EXPECT_EQ(answer, 2);
    sim::QueueAnswer("3");
    answer = 9;
    EXPECT_NE(GoDoMessageReturn("c", "t", "", "OK", "", "", "", answer), 0);
    EXPECT_EQ(answer, 9);
    EXPECT_NE(GoDoMessageReturn("c", "t", "", "OK", "", "", "", answer), 0);
    EXPECT_EQ(sim::Report().at("messages.length").number(), 3);
}

}  // namespace
