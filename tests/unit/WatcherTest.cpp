// The export watcher thread on a real directory with real files: delivery to the
// main thread, the wait for a writer that still holds or changes an export file
// (never without a bound, never losing the export), ending when the catalog goes,
// lost change records and stopping. A stand-in process named pvestra.exe plays the
// running catalog; the test itself plays its writer. A writer reopening its record
// and a missing directory are the scripts' (catalog_record_in_pieces,
// fault_export_directory).
#include "FakeProcess.h"
#include "HostTest.h"

#include "ExportDetection.h"
#include "MERIDAX_plugin.h"
#include "MERIDAX_tarnvel_thread.h"
#include "UniqueHandle.h"
#include "WriterWait.h"

#include <atomic>
#include <fstream>
#include <thread>

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
    // writes it in pieces does, until the names are complete and the wait for
    // the writer has looked at the files and found them held (the look count
    // shows it). Closing a handle makes no change record. False when the wait
    // did not come to that.
    bool HoldRecordOpenUntilTheWriterIsLookedAt(UniqueHandle& writer)
    {
        long looksBefore = WriterWait::LooksAtWriters();
        writer = CreateRecordForWriting();
        if (!writer || !WaitUntil([&] { return ExportDetectionState == 3; }, 5s))
            return false;
        auto looked = [&] { return WriterWait::LooksAtWriters() > looksBefore; };
        return WaitUntil(
            [&] {
                Write("anything", "x");
                return WaitUntil(looked, 100ms);
            },
            5s);
    }
    // A fresh catalog (in a folder of its own: the last one's program file may
    // still be in use for a moment after its end) and a fresh watcher, with the
    // export's names complete and the record held open and found held.
    bool WatchUntilTheRecordIsFoundHeld(const std::string& catalogFolder, UniqueHandle& writer)
    {
        catalog.reset();
        catalog = std::make_unique<FakeProcess>(Temp() / catalogFolder, "pvestra.exe");
        ExportDetectionState = 0;
        std::filesystem::remove(exports / "tarnvel_output_7.sat.txt");
        StartWatching();
        return WriteUntilState("tarnvel_output_7.sat", 1) && HoldRecordOpenUntilTheWriterIsLookedAt(writer);
    }
    // The record, created empty and held open for writing as the catalog holds it.
    UniqueHandle CreateRecordForWriting()
    {
        return UniqueHandle(CreateFileW((exports / "tarnvel_output_7.sat.txt").c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    static void WritePiece(const UniqueHandle& writer, const std::string& text)
    {
        DWORD written = 0;
        ::WriteFile(writer.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    // Writes the pieces 150 ms apart, each a change that restarts the writer's
    // bound, and checks after each that nothing was delivered meanwhile.
    static void WritePiecesWithoutDelivery(const UniqueHandle& writer, int pieces)
    {
        for (int piece = 0; piece < pieces; ++piece) {
            WritePiece(writer, "NAME=x\n");
            std::this_thread::sleep_for(150ms);
            ASSERT_EQ(sim::QueuedEvents(), 0) << "delivered while the record was written, piece " << piece;
        }
    }
    // More changes of other files than a read holds: the system loses their records.
    void WriteManyOtherFiles(int count)
    {
        std::string longName(120, 'n');
        for (int i = 0; i < count; ++i)
            Write(longName + std::to_string(i % 50), "x");
    }

    std::filesystem::path exports;
    std::unique_ptr<MERIDAX_plugin> plugin;
    std::unique_ptr<FakeProcess> catalog;
};

// The record is written whole and closed early in the pause after the geometry's
// change record: the table's moment is the read after that pause, and the
// export, quiet and closed by then, is delivered at that moment.
TEST_F(Watcher, GeometryThenRecordTwiceDeliversOnceToTheMainThread)
{
    StartWatching();
    ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
    long pausesAtTheGeometry = MERIDAX_tarnvel_thread::PausesTaken();
    Write("tarnvel_output_7.sat.txt", "[Attributes]\n");
    ASSERT_TRUE(DeliveredWithin(5s)) << "the record's second change record delivers";
    EXPECT_EQ(MERIDAX_tarnvel_thread::PausesTaken() - pausesAtTheGeometry, 1)
        << "no pause more than the table's own";
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

// A writer that holds the record open and goes on writing it holds the delivery
// back until it closes the record, however long that takes; one that holds it
// without changing it, at most one port wait after its last change: a catalog
// need not close its files promptly.
TEST_F(Watcher, AHeldRecordWaitsForItsWriterButNotBeyondTheBound)
{
    for (bool writesOn : {true, false}) {
        SCOPED_TRACE(writesOn ? "the writer writes on, then closes" : "the writer keeps the record open");
        UniqueHandle writer;
        ASSERT_TRUE(WatchUntilTheRecordIsFoundHeld("catalog-writes-" + std::to_string(writesOn), writer));
        EXPECT_EQ(ExportDetectionState, 3) << "the delivery waits";
        if (writesOn) {
            // Longer in all than the bound, and well within the cap counted from
            // the decision.
            WritePiecesWithoutDelivery(writer, 7);
            writer.reset();
        }
        ASSERT_TRUE(DeliveredWithin(3s)) << "the close is seen without a further change record";
        EXPECT_EQ(ExportDetectionState, 0);
        EXPECT_EQ(writer.valid(), !writesOn) << "a record held unchanged is delivered while still held";
        EXPECT_EQ(DirectoryWatch::ReadsAbandoned(), 0) << "every read ended before its buffer went";
    }
}

// Both names were seen by an earlier watcher, so the first change of the next
// export delivers; when that export's record is still being written, the wait
// for its writer holds, however long the watcher had been waiting at its port.
TEST_F(Watcher, AStaleStateStillWaitsForTheNextExportsWriter)
{
    ExportDetectionState = 3;
    long pauses = MERIDAX_tarnvel_thread::PausesTaken();
    StartWatching();
    ASSERT_TRUE(WaitUntil([&] { return MERIDAX_tarnvel_thread::PausesTaken() > pauses; }, 5s));
    // Nearly a port wait after the pause: the watcher's last look at the files is
    // almost as old as the writer's bound when the record comes.
    auto pauseOver = steady_clock::now();
    ASSERT_TRUE(WaitUntil([&] { return steady_clock::now() - pauseOver >= 960ms; }, 3s));
    long looksBefore = WriterWait::LooksAtWriters();
    UniqueHandle writer = CreateRecordForWriting();
    ASSERT_TRUE(writer);
    ASSERT_TRUE(WaitUntil([&] { return WriterWait::LooksAtWriters() > looksBefore; }, 5s))
        << "the delivery came to wait for the writer";
    WritePiecesWithoutDelivery(writer, 4);
    writer.reset();
    ASSERT_TRUE(DeliveredWithin(3s));
    EXPECT_EQ(ExportDetectionState, 0);
}

// The detection table alone would have delivered as soon as the names were
// complete, so a stop while the delivery waits for the writer (an older event's
// handler, or a command that came as the table decided) delivers at once, and
// so does a catalog found gone while another process holds the record. Here the
// writer keeps changing the record: only the stop or the catalog check can end
// the wait before the cap.
TEST_F(Watcher, AStopOrAGoneCatalogDeliversAWaitingExportAtOnce)
{
    for (bool stop : {true, false}) {
        SCOPED_TRACE(stop ? "a stop" : "the catalog gone");
        UniqueHandle writer;
        ASSERT_TRUE(WatchUntilTheRecordIsFoundHeld("catalog-stop-" + std::to_string(stop), writer));
        std::atomic<bool> writing{true};
        std::thread pieces([&] {
            while (writing) {
                WritePiece(writer, "NAME=x\n");
                std::this_thread::sleep_for(200ms);
            }
        });
        EXPECT_EQ(sim::QueuedEvents(), 0) << "nothing delivered while the record is written";
        if (stop) {
            plugin->StopWatching();
            EXPECT_EQ(sim::QueuedEvents(), 1) << "the stop delivered";
        } else {
            catalog->Terminate();
        }
        // The cap, 2 s after the decision, would deliver too, but not this soon.
        bool delivered = DeliveredWithin(1s);
        writing = false;
        pieces.join();
        ASSERT_TRUE(delivered);
        EXPECT_EQ(ExportDetectionState, 0);
        EXPECT_EQ(Reported("deferredCalls[-1].functionNumber").number(), 104);
    }
}

// What holds a decided delivery back is the export's own writer, and only for
// a bound: another program that floods the export folder (the system then loses
// the change records) does not stretch the wait for a record held unchanged,
// a writer that touches its record again and again holds it at most 2 s from the
// decision, and a record held since before this watcher started, of which it
// saw no change, does not hold it at all.
TEST_F(Watcher, OnlyTheExportsWriterHoldsTheDeliveryAndOnlyWithinItsBounds)
{
    enum Meanwhile { FloodTheFolder, TouchTheRecord };
    for (Meanwhile meanwhile : {FloodTheFolder, TouchTheRecord}) {
        SCOPED_TRACE(meanwhile == FloodTheFolder ? "a flooded folder" : "a record touched every 200 ms");
        UniqueHandle writer;
        ASSERT_TRUE(WatchUntilTheRecordIsFoundHeld("catalog-bounds-" + std::to_string(meanwhile), writer));
        std::atomic<bool> going{true};
        std::thread other([&] {
            for (int i = 0; going; ++i) {
                if (meanwhile == FloodTheFolder) {
                    Write(std::string(200, 'n') + std::to_string(i % 400), "x");
                } else {
                    WritePiece(writer, "x");
                    std::this_thread::sleep_for(200ms);
                }
            }
        });
        // The record's last change came before it was found held, so the bound
        // ends the wait within a second; the cap, 2 s after the decision, not
        // this soon. Past the cap for the writer that goes on touching it.
        bool delivered = DeliveredWithin(meanwhile == FloodTheFolder ? 1500ms : 4s);
        going = false;
        other.join();
        EXPECT_TRUE(delivered) << "delivered while the other writing went on";
        EXPECT_EQ(ExportDetectionState, 0);
    }
    // Left by the last watcher, both names seen: the first change delivers.
    UniqueHandle writer = CreateRecordForWriting();
    ASSERT_TRUE(writer);
    ExportDetectionState = 3;
    long looksBefore = WriterWait::LooksAtWriters();
    plugin->StopWatching();
    StartWatching();
    ASSERT_TRUE(WaitUntil(
        [&] {
            Write("anything", "x");
            return DeliveredWithin(100ms);
        },
        5s));
    EXPECT_EQ(WriterWait::LooksAtWriters(), looksBefore) << "delivered at the decision, without a look";
    EXPECT_EQ(ExportDetectionState, 0);
}

// The export's changes are lost among more changes than a read holds, and nothing
// changes after them: the files' own time stamps say they were written, and the
// export is delivered all the same.
TEST_F(Watcher, ExportFilesWrittenAmongLostChangesStillCount)
{
    StartWatching();
    ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
    WriteManyOtherFiles(1500);
    Write("tarnvel_output_7.sat", "geometry");
    Write("tarnvel_output_7.sat.txt", "[Attributes]\n");
    WriteManyOtherFiles(1500);
    EXPECT_TRUE(DeliveredWithin(5s));
    EXPECT_EQ(ExportDetectionState, 0);
}

// A stale record that nobody touches, whose time stamp lies ahead of the clock
// (a share whose server's clock runs ahead, or a clock set back): a read whose
// records the system lost must not count it as written, or the export would be
// delivered half seen, at a moment that has nothing to do with it.
TEST_F(Watcher, LostChangesDoNotCountAnUntouchedFileWhateverItsTime)
{
    Write("tarnvel_output_7.sat.txt", "[Attributes]\nstale\n");
    {
        UniqueHandle stale(CreateFileW((exports / "tarnvel_output_7.sat.txt").c_str(), FILE_WRITE_ATTRIBUTES,
                                       FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(stale);
        FILETIME ahead{};
        GetSystemTimeAsFileTime(&ahead);
        ULARGE_INTEGER time{{ahead.dwLowDateTime, ahead.dwHighDateTime}};
        time.QuadPart += 3600ull * 10'000'000ull;
        ahead = {time.LowPart, time.HighPart};
        ASSERT_TRUE(SetFileTime(stale.get(), nullptr, nullptr, &ahead));
    }
    StartWatching();
    ASSERT_TRUE(WriteUntilState("tarnvel_output_7.sat", 1));
    WriteManyOtherFiles(3000);
    // Every change is written; the read that holds the last of them is over
    // once two more pauses have passed.
    long pauses = MERIDAX_tarnvel_thread::PausesTaken();
    ASSERT_TRUE(WaitUntil([&] { return MERIDAX_tarnvel_thread::PausesTaken() >= pauses + 2; }, 5s));
    EXPECT_EQ(ExportDetectionState, 1) << "the record was not counted as written";
    EXPECT_EQ(sim::QueuedEvents(), 0);
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

// The port wait would last a second; the stop wakes it, and the thread ends after
// the one pause of its stop test. Once the first pause is over (the pause count
// shows it) the thread goes straight to its port, whose wait the stop then ends,
// whether the thread is already in it or just entering it. Both files were seen by
// an earlier watcher, so the first change record would deliver: the wake is none.
TEST_F(Watcher, AStopWakesTheWatcherWaitingAtItsPort)
{
    ExportDetectionState = 3;
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
