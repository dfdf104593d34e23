// The plug-in object's life: registration as event source and the hand-over of a
// finished export to function 104. That its destruction removes the export files
// and drops a queued delivery is end_before_delivery.simcad's.
#include "HostTest.h"

#include "MERIDAX_plugin.h"

#include <thread>

namespace {

class PluginObject : public HostTest {};

TEST_F(PluginObject, RegistersWhileItLivesAndStandardizesTheRoot)
{
    {
        MERIDAX_plugin plugin("C:/Catalog//root/", 1, 0);
        EXPECT_EQ(plugin.rootDir.string(), "C:\\Catalog\\root\\");
        EXPECT_EQ(Reported("eventSources").number(), 1);
        EXPECT_FALSE(plugin.watcher);
        plugin.StopWatching();
        plugin.StopWatching();
    }
    EXPECT_EQ(Reported("eventSources").number(), 0);
}

TEST_F(PluginObject, SynchronizeFromAnotherThreadRequestsTheImport)
{
    MERIDAX_plugin plugin(Native(Temp()), 1, 0);
    std::thread([&] { plugin.Synchronize(nullptr); }).join();
    EXPECT_EQ(Reported("deferredCalls").size(), 0u) << "delivered only on the main thread";

    EXPECT_EQ(sim::RunPending(), 1);
    sim::Json call = Reported("deferredCalls[0]");
    EXPECT_EQ(call.at("mode").text(), "async");
    EXPECT_EQ(call.at("number").number(), 5000);
    EXPECT_EQ(call.at("macro").text(), ":khd-tarnvel");
    EXPECT_EQ(call.at("functionNumber").number(), 104);
    EXPECT_EQ(call.at("text").text(), "");
}

TEST_F(PluginObject, CallStandardHandsTheArgumentListToTheHost)
{
    MERIDAX_plugin plugin(Native(Temp()), 1, 0);
    Go::GoStandardCall call;
    call.mode = "async";
    call.macro = ":no-such-macro";
    call.functionNumber = 100;
    plugin.CallStandard(call);
    EXPECT_EQ(call.arguments, nullptr);
    EXPECT_EQ(Reported("deferredCalls[0].state").text(), "dropped");
}

}  // namespace
