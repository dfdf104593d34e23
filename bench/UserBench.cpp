// What the user feels: how long each of the plug-in's calls holds the host's main
// thread, from the call to its return, with the catalog closed or open and the
// watcher waiting at its port, beside the floors measured in the same run: one
// scan of the process list, one process start and the watcher's stop test pause.
// The catalog is the real stand-in; the unload without End is of the real DLL.
#include "Benchmarks.h"

#include "FakeProcess.h"
#include "Floors.h"
#include "GlobalStrings.h"
#include "LibraryCycles.h"
#include "MERIDAX_plugin.h"
#include "PluginLibrary.h"
#include "ProcessProbe.h"
#include "RoadDriver.h"
#include "tarnvelMain.h"

#include <cstdio>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int RUNS = 20;
constexpr auto CATALOG_DEADLINE = std::chrono::seconds(15);
const char* const PARTS[] = {"ISO4017 D=8 L=40", "ISO4032 D=8", "ISO7089 D=8"};

bool CatalogShowsItsLastCommand()
{
    probe::CatalogProcessCount count = probe::CountCatalogProcesses();
    return count.viewers > 0 && count.scriptHosts == 0;
}

bool CatalogClosed() { return CatalogProcessCount() == 0; }

template <class Call>
double Timed(Call call)
{
    auto start = Clock::now();
    call();
    return MillisecondsSince(start);
}

// The moment a user acts: the catalog shows the last command, and a moment
// (200 to 1200 ms) has passed, so that the watcher waits at its port or in the
// pause after a port time-out, as it does for nearly all of a user's time.
class UserMoments {
public:
    bool WatcherWaits()
    {
        if (!WaitUntil(CatalogShowsItsLastCommand, CATALOG_DEADLINE))
            return false;
        Sleep(std::uniform_int_distribution<int>(200, 1200)(random_));
        return true;
    }

private:
    std::mt19937 random_{20261208};
};

struct UserSamples {
    std::vector<double> launch, handOver100, handOver102, close, stopWaiting, catalogClose, end,
        unloadWithoutEnd, deliveryAndImport;
    int failedRuns = 0;
};

// The static plug-in driven as the host drives it: one run sends a part back,
// opens the catalog anew, closes it, launches it, stops and closes by hand,
// launches it and ends the plug-in.
bool RunWithTheCatalog(RoadDriver& driver, UserMoments& moments, UserSamples& samples)
{
    if (!moments.WatcherWaits())
        return false;
    samples.handOver100.push_back(Timed([&] { driver.Select(100); }));
    if (!moments.WatcherWaits())
        return false;
    samples.handOver102.push_back(Timed([&] { driver.SendLastPartBack(); }));
    if (!moments.WatcherWaits())
        return false;
    samples.close.push_back(Timed([&] { driver.Select(101); }));
    if (!WaitUntil(CatalogClosed, CATALOG_DEADLINE))
        return false;

    samples.launch.push_back(Timed([&] { driver.Select(100); }));
    if (!moments.WatcherWaits())
        return false;
    samples.stopWaiting.push_back(Timed([] { g_plugin->StopWatching(); }));
    samples.catalogClose.push_back(Timed([] { g_plugin->CloseCatalog(); }));
    if (!WaitUntil(CatalogClosed, CATALOG_DEADLINE))
        return false;

    samples.launch.push_back(Timed([&] { driver.Select(100); }));
    if (!moments.WatcherWaits())
        return false;
    samples.end.push_back(Timed([] { End(); }));
    if (!WaitUntil(CatalogClosed, CATALOG_DEADLINE))
        return false;
    driver.Select(100);  // starts the plug-in anew and opens the catalog for the next run
    return true;
}

// The real DLL unloaded without End while its watcher waits.
void UnloadWithoutEnd(UserMoments& moments, UserSamples& samples)
{
    for (int run = 0; run < RUNS; ++run) {
        PluginLibrary library;
        if (!library.Loaded())
            return;
        library.Select(100);
        bool waiting = moments.WatcherWaits();
        double took = library.Unload();
        if (waiting)
            samples.unloadWithoutEnd.push_back(took);
        else
            ++samples.failedRuns;
        if (!WaitUntil(CatalogClosed, CATALOG_DEADLINE))
            lifecycle::LibraryCycles::EndLeftCatalog();
    }
}

}  // namespace

void BenchUser(BenchReport& report, const std::filesystem::path& temp)
{
    UserMoments moments;
    UserSamples samples;
    ScanCost scan;
    Spread pause;
    std::filesystem::path scriptHost;
    {
        RoadDriver driver(temp / "exports");
        if (!driver.Ready()) {
            std::printf("  the catalog did not come up; nothing measured\n");
            return;
        }
        scriptHost = (g_plugin->rootDir + g_scriptHostExe).string();
        scan = MeasureProcessScan(*g_plugin, 100);
        pause = MeasureStopTestPause(10);
        for (int road = 0; road < RUNS; ++road) {
            RoadTimes times = driver.Road(PARTS[road % 3], road % 2 == 1);
            if (times.imported)
                samples.deliveryAndImport.push_back(times.toImport);
        }
        for (int run = 0; run < RUNS; ++run) {
            if (!RunWithTheCatalog(driver, moments, samples)) {
                ++samples.failedRuns;
                lifecycle::LibraryCycles::EndLeftCatalog();
                driver.Select(100);
            }
        }
    }
    Spread start = MeasureProcessStart(scriptHost, RUNS);
    UnloadWithoutEnd(moments, samples);

    Spread catalogClose = SpreadOf(samples.catalogClose);
    double launchFloor = scan.wallMs.median + start.median;
    double handOverFloor = launchFloor + pause.median;
    double stopAndClose = pause.median + catalogClose.median;
    std::string runs = std::to_string(RUNS) + " runs each, " + std::to_string(samples.failedRuns) +
                       " failed; the catalog open and the watcher waiting unless said";
    report.Add("user.runs", RUNS, "runs", runs);
    report.AddSpread("user.floor_process_scan", scan.wallMs, "ms",
                     "FindCatalogProcesses(Query), " + std::to_string(scan.wallMs.count) + " scans");
    report.AddSpread("user.floor_create_process", start, "ms", "CreateProcessA of the script host");
    report.AddSpread("user.floor_stop_test_pause", pause, "ms", "the watcher's stop test");
    report.AddAgainstFloor("user.select_100_launch", SpreadOf(samples.launch), launchFloor, "ms",
                           "catalog closed; floor: scan + process start");
    report.AddAgainstFloor("user.select_100_hand_over", SpreadOf(samples.handOver100), handOverFloor,
                           "ms", "floor: scan + pause + process start");
    report.AddAgainstFloor("user.select_102_hand_over", SpreadOf(samples.handOver102), handOverFloor,
                           "ms", "a placed tagged part; floor: scan + pause + process start");
    report.AddAgainstFloor("user.select_101_close", SpreadOf(samples.close), stopAndClose, "ms",
                           "floor: pause + catalog close");
    report.AddAgainstFloor("user.split_stop_waiting_watcher", SpreadOf(samples.stopWaiting),
                           pause.median, "ms", "StopWatching alone; floor: pause");
    report.AddAgainstFloor("user.split_catalog_close", catalogClose, scan.wallMs.median, "ms",
                           "closing the catalog without a watcher; floor: scan");
    report.AddAgainstFloor("user.end", SpreadOf(samples.end), stopAndClose, "ms",
                           "floor: pause + catalog close");
    report.AddAgainstFloor("user.unload_without_end", SpreadOf(samples.unloadWithoutEnd), stopAndClose,
                           "ms", "the DLL's FreeLibrary; floor: pause + catalog close");
    report.AddSpread("user.on_synchronize_and_import", SpreadOf(samples.deliveryAndImport), "ms",
                     "OnSynchronize start -> import done, " +
                         std::to_string(samples.deliveryAndImport.size()) + " roads, half replacements");
}
