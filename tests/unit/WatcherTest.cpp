// The export watcher thread on a real directory with real files: delivery to the
// main thread, waiting while an export file is still being written, ending when
// the catalog goes, stopping, and a missing directory. A stand-in process named
// pvestra.exe plays the running catalog; the test itself plays its writer.
#include "FakeProcess.h"
#include "HostTest.h"

#include "ExportDetection.h"
#include "MERIDAX_plugin.h"
#include "MERIDAX_tarnvel_thread.h"
#include "UniqueHandle.h"

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
    // Creates the record, empty, and keeps it open for writing, as a catalog that
    // writes it in pieces does, until a change record after both names has been
    // looked at (the check count shows it). Nothing of the record is written
    // through the handle, so closing it makes no change record. False when the
    // delivery did not come to wait.
    bool HoldRecordOpenUntilADeliveryWaits(UniqueHandle& writer)
    {
        std::filesystem::path record = exports / "tarnvel_output_7.sat.txt";
        writer.reset(CreateFileW(record.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!writer || !WaitUntil([&] { return ExportDetectionState == 3; }, 5s))
            return false;
        long checksBefore = MERIDAX_tarnvel_thread::DeliveryChecks();
        auto looked = [&] { return MERIDAX_tarnvel_thread::DeliveryChecks() > checksBefore; };
        return WaitUntil(
            [&] {
                Write("anything", "x");
                return WaitUntil(looked, 100ms);
            },
            5s);
    }

    std::filesystem::path exports;
    std::unique_ptr<MERIDAX_plugin> plugin;
    std::unique_ptr<FakeProcess> catalog;
};

TEST_F(Watcher, GeometryThenRecordTwiceDeliversOnceToTheMainThread)
{
    StartWatching();
    ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
    Write("tarnvel_output_7.sat.txt", "[Attributes]\n");
    ASSERT_TRUE(DeliveredWithin(5s)) << "the record's second change record delivers";
    EXPECT_FALSE(plugin->watcher) << "OnSynchronize stopped the watcher";
    EXPECT_EQ(ExportDetectionState, 0);
    EXPECT_EQ(Reported("deferredCalls.length").number(), 1);
    EXPECT_EQ(Reported("deferredCalls[0].functionNumber").number(), 104);
    // The watcher's thread has ended (OnSynchronize joined it), so whatever it
    // queued is queued by now.
    long delivered = sim::DeliveredEvents();
    sim::RunPending();
    EXPECT_EQ(sim::DeliveredEvents(), delivered) << "one export, one event";
}

// While the record is open for writing, the change record that completes the
// names does not deliver; closing it alone does, found at a port time-out. The
// directory read is still outstanding then, and it is cancelled and waited for
// before its buffer goes.
TEST_F(Watcher, DeliversARecordStillBeingWrittenOnlyOnceItsWriterClosesIt)
{
    StartWatching();
    ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
    UniqueHandle writer;
    ASSERT_TRUE(HoldRecordOpenUntilADeliveryWaits(writer));
    long delivered = sim::DeliveredEvents();
    sim::RunPending();
    EXPECT_EQ(sim::DeliveredEvents(), delivered) << "nothing delivered while the record is open";
    EXPECT_EQ(ExportDetectionState, 3) << "the delivery still waits";

    long atTimeOutBefore = MERIDAX_tarnvel_thread::DeliveriesWithReadOutstanding();
    long leftBefore = MERIDAX_tarnvel_thread::ReadsLeftOutstanding();
    writer.reset();
    ASSERT_TRUE(DeliveredWithin(3s)) << "the close is seen without a further change record";
    EXPECT_EQ(ExportDetectionState, 0);
    // OnSynchronize has joined the thread: its buffer is gone by now.
    ASSERT_EQ(MERIDAX_tarnvel_thread::DeliveriesWithReadOutstanding(), atTimeOutBefore + 1)
        << "the delivery came at a time-out, its read outstanding";
    EXPECT_EQ(MERIDAX_tarnvel_thread::ReadsLeftOutstanding(), leftBefore)
        << "no read outstanding when its buffer was released";
}

// A catalog that closes its finished record and ends at once: the export is
// complete, and it is delivered whether the watcher comes back at a port
// time-out (where it also finds the catalog gone) or at a change record.
TEST_F(Watcher, RecordClosedByACatalogThatThenEndsIsDelivered)
{
    for (bool changeAfterTheEnd : {false, true}) {
        SCOPED_TRACE(changeAfterTheEnd ? "a change record after the end" : "no change after the end");
        // A folder of its own for each catalog: the last one's program file may
        // still be in use for a moment after its end.
        catalog.reset();
        catalog = std::make_unique<FakeProcess>(Temp() / ("catalog-" + std::to_string(changeAfterTheEnd)),
                                                "pvestra.exe");
        ExportDetectionState = 0;
        std::filesystem::remove(exports / "tarnvel_output_7.sat.txt");
        StartWatching();
        ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
        UniqueHandle writer;
        ASSERT_TRUE(HoldRecordOpenUntilADeliveryWaits(writer));
        writer.reset();
        catalog->Terminate();
        ASSERT_TRUE(catalog->WaitForExit(5s));
        if (changeAfterTheEnd)
            Write("anything", "x");
        EXPECT_TRUE(DeliveredWithin(3s));
        EXPECT_EQ(ExportDetectionState, 0);
    }
}

// A writer that still holds the record when the catalog is gone is no catalog's
// finished export: the watcher ends at the time-out without delivery.
TEST_F(Watcher, CatalogGoneWhileItsRecordIsStillHeldEndsWithoutDelivery)
{
    StartWatching();
    ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
    UniqueHandle writer;
    ASSERT_TRUE(HoldRecordOpenUntilADeliveryWaits(writer));
    catalog->Terminate();
    ASSERT_TRUE(EndsWithin(5s));
    plugin->StopWatching();
    EXPECT_EQ(sim::RunPending(), 0) << "the thread ended without queuing an event";
    EXPECT_EQ(ExportDetectionState, 3) << "the next watcher goes on from here";
}

// A catalog may open its record for writing again and again after the take. The
// watcher must never be the reason one of those opens fails: it looks at the
// files only once a whole pause has passed without a change of them. The export
// is delivered once, after the writer has stopped.
TEST_F(Watcher, AWriterReopeningItsRecordIsNeverRefused)
{
    StartWatching();
    ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
    std::filesystem::path record = exports / "tarnvel_output_7.sat.txt";
    const std::string text = "[Attributes]\nNAME=x\n";
    Write("tarnvel_output_7.sat.txt", text);
    ASSERT_TRUE(WaitUntil([&] { return ExportDetectionState == 3; }, 5s));
    long opens = 0;
    long refused = 0;
    long checksBefore = MERIDAX_tarnvel_thread::DeliveryChecks();
    auto until = steady_clock::now() + 1500ms;
    while (steady_clock::now() < until) {
        UniqueHandle writer(CreateFileW(record.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ++opens;
        if (!writer) {
            refused += GetLastError() == ERROR_SHARING_VIOLATION;
            continue;
        }
        DWORD written = 0;
        ::WriteFile(writer.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    EXPECT_EQ(refused, 0) << "of " << opens << " opens";
    ASSERT_EQ(ExportDetectionState, 3) << "the names were complete while the writer went on";
    EXPECT_EQ(MERIDAX_tarnvel_thread::DeliveryChecks(), checksBefore)
        << "no look while the record kept changing";
    ASSERT_TRUE(DeliveredWithin(3s));
    long delivered = sim::DeliveredEvents();
    sim::RunPending();
    EXPECT_EQ(sim::DeliveredEvents(), delivered) << "one export, one event";
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

// The record's change is lost among more changes than a read holds, and nothing
// changes after them: the record's own time stamp says it was written, and the
// export is delivered all the same.
TEST_F(Watcher, ExportFilesWrittenAmongLostChangesStillCount)
{
    StartWatching();
    ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
    std::string longName(120, 'n');
    for (int i = 0; i < 1500; ++i)
        Write(longName + std::to_string(i % 50), "x");
    Write("tarnvel_output_7.sat.txt", "[Attributes]\n");
    for (int i = 0; i < 1500; ++i)
        Write(longName + std::to_string(i % 50), "x");
    EXPECT_TRUE(DeliveredWithin(5s));
    EXPECT_EQ(ExportDetectionState, 0);
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

// The port wait would last a second; the stop wakes it, and the thread ends after
// the one pause of its stop test. Once the first pause is over (the pause count
// shows it) the thread goes straight to its port, whose wait the stop then ends,
// whether the thread is already in it or just entering it.
TEST_F(Watcher, AStopWakesTheWatcherWaitingAtItsPort)
{
    long pausesBefore = MERIDAX_tarnvel_thread::PausesTaken();
    StartWatching();
    ASSERT_TRUE(WaitUntil([&] { return MERIDAX_tarnvel_thread::PausesTaken() > pausesBefore; }, 5s));
    auto firstPauseOver = steady_clock::now();
    ASSERT_FALSE(plugin->watcher->HasEnded());

    plugin->StopWatching();
    auto waited = duration_cast<milliseconds>(steady_clock::now() - firstPauseOver);
    RecordProperty("first_pause_to_stopped_ms", static_cast<int>(waited.count()));
    EXPECT_LT(waited, 1000ms) << "ended before the port wait would have timed out";
    EXPECT_EQ(MERIDAX_tarnvel_thread::PausesTaken() - pausesBefore, 2)
        << "the first stop test, then the one after the wake";
}

// Both files were seen by an earlier watcher, so the first change record would
// deliver: the wake is no change record.
TEST_F(Watcher, AWakeIsNoChangeRecord)
{
    ExportDetectionState = 3;
    long pausesBefore = MERIDAX_tarnvel_thread::PausesTaken();
    StartWatching();
    ASSERT_TRUE(WaitUntil([&] { return MERIDAX_tarnvel_thread::PausesTaken() > pausesBefore; }, 5s));
    plugin->StopWatching();
    EXPECT_EQ(sim::RunPending(), 0) << "the thread has ended without queuing an event";
    EXPECT_EQ(ExportDetectionState, 3);
}

// The constructor returns once the thread runs, and its first act is the pause
// before the first stop test: a stop given at once is seen there, after exactly
// one pause, before the directory was ever read.
TEST_F(Watcher, StopGivenBeforeTheThreadLooksIsSeenAtTheFirstTest)
{
    ExportDetectionState = 3;
    long pausesBefore = MERIDAX_tarnvel_thread::PausesTaken();
    StartWatching();
    Write("anything", "x");
    plugin->StopWatching();
    EXPECT_EQ(MERIDAX_tarnvel_thread::PausesTaken() - pausesBefore, 1);
    EXPECT_EQ(sim::RunPending(), 0) << "no read was started, so the change was not seen";
}

}  // namespace
