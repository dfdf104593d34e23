// The host stand-in's services that the plug-in relies on: settings, paths, the
// modal message, deferred macro calls and the event interface.
#include "BrenvikViewEvent.h"
#include "GoStandardCall.h"
#include "SimControl.h"
#include "TrtMessages.h"
#include "UtSystem.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <thread>

namespace {

class HostServices : public ::testing::Test {
protected:
    void SetUp() override { sim::ResetHost(); }
    void TearDown() override
    {
        sim::RunPending();
        sim::SetMacro(":test", nullptr);
    }
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

TEST_F(HostServices, JoinPathFileAddsOneSeparatorAndCutsAtTheBuffer)
{
    char out[UT_MAX_PATH];
    UtJoinPathFile("C:\\Temp", "a.sat", out);
    EXPECT_STREQ(out, "C:\\Temp\\a.sat");
    UtJoinPathFile("C:\\Temp\\", "a.sat", out);
    EXPECT_STREQ(out, "C:\\Temp\\a.sat");
    UtJoinPathFile(std::string(2000, 'd'), "a.sat", out);
    EXPECT_EQ(std::string(out).size(), std::size_t(UT_MAX_PATH - 1));
    EXPECT_FALSE(UtGetTempDir().empty());
    EXPECT_FALSE(UtIsFile(UtGetTempDir()));
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

int lastFunction = 0;
bool ranOnMainThread = false;
int RecordingMacro(int, int functionNumber, const UtCString&)
{
    GiFunctionArguments* arguments = nullptr;
    EXPECT_EQ(GiFuncGetActFunctionArguments(arguments), 0);
    lastFunction = functionNumber;
    ranOnMainThread = sim::IsMainThread();
    return 0;
}

TEST_F(HostServices, DeferredCallRunsLaterWithItsArguments)
{
    sim::SetMacro(":test", RecordingMacro);
    lastFunction = 0;
    EXPECT_EQ(GoDoCallStandardExtended("async", 5000, ":test", 104, "", new GiFunctionArguments), 0);
    EXPECT_EQ(lastFunction, 0);
    GiFunctionArguments* none = nullptr;
    EXPECT_NE(GiFuncGetActFunctionArguments(none), 0);

    EXPECT_EQ(sim::RunPending(), 1);
    EXPECT_EQ(lastFunction, 104);
    EXPECT_TRUE(ranOnMainThread);
    EXPECT_EQ(sim::Report().at("deferredCalls[0].state").text(), "done");
}

class CountingSource : public BrenvikViewEventSource {
public:
    ~CountingSource() = default;
    void OnSynchronize(void*) override
    {
        ++delivered;
        onMainThread = onMainThread && sim::IsMainThread();
    }
    std::atomic<int> delivered{0};
    bool onMainThread = true;
};

TEST_F(HostServices, EventsFromOtherThreadsAreDeliveredOnTheMainThreadOnly)
{
    CountingSource source;
    auto* events = BrenvikViewEventInterface::getInstance();
    events->Register(&source);
    std::thread([&] {
        for (int i = 0; i < 100; ++i)
            source.Synchronize(nullptr);
    }).join();
    EXPECT_EQ(source.delivered, 0);
    EXPECT_TRUE(sim::RunUntil([&] { return source.delivered == 100; }, std::chrono::seconds(10)));
    EXPECT_TRUE(source.onMainThread);

    source.Synchronize(nullptr);
    events->Deregister(&source);
    source.Synchronize(nullptr);
    EXPECT_EQ(sim::RunPending(), 0);
    EXPECT_EQ(source.delivered, 100);
}

}  // namespace
