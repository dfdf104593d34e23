// The export watcher thread on a real directory with real files: delivery to the
// main thread, ending when the catalog goes, stopping, and a missing directory.
// A stand-in process named pvestra.exe plays the running catalog.
#include "FakeProcess.h"
#include "HostTest.h"

#include "ExportDetection.h"
#include "MERIDAX_plugin.h"
#include "MERIDAX_tarnvel_thread.h"

#include <fstream>

namespace {

using namespace std::chrono;
using namespace std::chrono_literals;

class Watcher : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        exports = Temp() / "exports";
        std::filesystem::create_directories(exports);
        plugin = std::make_unique<MERIDAX_plugin>(Native(Temp()), 1, 0);
        plugin->exportDir = Native(exports);
        plugin->exportFileName = "tarnvel_output_7.sat";
        plugin->exportFile = Native(exports / "tarnvel_output_7.sat");
        plugin->recordFile = plugin->exportFile + ".txt";
        ExportDetectionState = 0;
        catalog = std::make_unique<FakeProcess>(Temp() / "catalog", "pvestra.exe");
    }
    void TearDown() override
    {
        plugin.reset();
        catalog.reset();
        ExportDetectionState = 0;
        HostTest::TearDown();
    }
    void StartWatching() { plugin->watcher.reset(new MERIDAX_tarnvel_thread(*plugin)); }
    void Write(const std::string& name, const std::string& text)
    {
        std::ofstream(exports / name, std::ios::binary) << text;
    }
    bool DeliveredWithin(milliseconds timeout)
    {
        long before = sim::DeliveredEvents();
        return sim::RunUntil([&] { return sim::DeliveredEvents() > before; }, timeout);
    }
    // The watcher sees only changes made after its first directory read has
    // started, so a file is written again until the watcher has seen it.
    bool WriteUntilState(const std::string& name, int state)
    {
        return WaitUntil(
            [&] {
                Write(name, "content");
                return WaitUntil([&] { return ExportDetectionState == state; }, 100ms);
            },
            5s);
    }
    bool EndsWithin(milliseconds timeout)
    {
        return WaitUntil([&] { return plugin->watcher->HasEnded(); }, timeout);
    }

    std::filesystem::path exports;
    std::unique_ptr<MERIDAX_plugin> plugin;
    std::unique_ptr<FakeProcess> catalog;
};

TEST_F(Watcher, GeometryThenRecordTwiceDeliversOnceToTheMainThread)
{
    StartWatching();
    ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
    Write("unrelated.txt", "x");
    EXPECT_EQ(ExportDetectionState, 1);
    Write("tarnvel_output_7.sat.txt", "[Attributes]\n");
    ASSERT_TRUE(DeliveredWithin(5s)) << "the record's second change record delivers";
    EXPECT_FALSE(plugin->watcher) << "OnSynchronize stopped the watcher";
    EXPECT_EQ(ExportDetectionState, 0);
    EXPECT_EQ(Reported("deferredCalls.length").number(), 1);
    EXPECT_EQ(Reported("deferredCalls[0].functionNumber").number(), 104);
    EXPECT_FALSE(DeliveredWithin(300ms)) << "one export, one event";
}

TEST_F(Watcher, SurvivesMoreChangesThanItsBufferHolds)
{
    StartWatching();
    ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
    // Some 3000 records of long names in one go: more than 8192 bytes between two
    // reads, so the system drops them and reports a read of zero bytes.
    std::string longName(120, 'n');
    for (int i = 0; i < 3000; ++i)
        Write(longName + std::to_string(i % 50), "x");
    EXPECT_TRUE(WaitUntil(
        [&] {
            Write("tarnvel_output_7.sat", "geometry");
            Write("tarnvel_output_7.sat.txt", "[Attributes]\n");
            return DeliveredWithin(200ms);
        },
        10s));
}

TEST_F(Watcher, StateLeftByTheLastWatcherDeliversOnTheFirstChange)
{
    ExportDetectionState = 3;
    StartWatching();
    EXPECT_TRUE(WaitUntil(
        [&] {
            Write("anything", "x");
            return DeliveredWithin(100ms);
        },
        5s));
    EXPECT_EQ(ExportDetectionState, 0);
}

TEST_F(Watcher, CatalogClosedMidExportEndsWithoutDelivery)
{
    StartWatching();
    ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
    catalog->Terminate();
    ASSERT_TRUE(EndsWithin(5s));
    plugin->StopWatching();
    EXPECT_EQ(sim::RunPending(), 0);
    EXPECT_EQ(ExportDetectionState, 1) << "the next watcher goes on from here";
}

TEST_F(Watcher, MissingDirectoryEndsTheThreadAtOnce)
{
    plugin->exportDir = Native(Temp() / "missing");
    StartWatching();
    EXPECT_TRUE(EndsWithin(2s));
}

TEST_F(Watcher, StoppingEndsTheThread)
{
    StartWatching();
    auto start = steady_clock::now();
    plugin->StopWatching();
    auto stopped = duration_cast<milliseconds>(steady_clock::now() - start);
    RecordProperty("stop_ms", static_cast<int>(stopped.count()));
    EXPECT_LT(stopped, 5s) << "the stop is seen after at most one port wait and one pause";
    EXPECT_FALSE(plugin->watcher);
}

TEST_F(Watcher, StopGivenBeforeTheThreadLooksIsSeenAtTheFirstTest)
{
    std::promise<int> stop;
    std::future<int> future = stop.get_future();
    EXPECT_FALSE(MERIDAX_tarnvel_thread::IsStopRequested(future));
    stop.set_value(1);
    EXPECT_TRUE(MERIDAX_tarnvel_thread::IsStopRequested(future));
    EXPECT_TRUE(MERIDAX_tarnvel_thread::IsStopRequested(std::future<int>()));
}

}  // namespace
