// The watcher thread at rest: CPU it uses while waiting for an export, against
// the floor that its process scans set (one scan per port time-out), and how long
// stopping a waiting watcher blocks the main thread. A stand-in process named
// pvestra.exe plays the running catalog, so the watcher keeps waiting.
#include "Benchmarks.h"

#include "FakeProcess.h"
#include "Floors.h"
#include "MERIDAX_plugin.h"
#include "MERIDAX_tarnvel_thread.h"

#include <windows.h>

#include <chrono>
#include <random>
#include <thread>

namespace {

constexpr int SCANS = 500;

struct WatchedPlugin {
    explicit WatchedPlugin(const std::filesystem::path& exports) : plugin("C:\\Catalog", 1, 0)
    {
        std::filesystem::create_directories(exports);
        plugin.exportDir = exports.string();
        plugin.exportFileName = "tarnvel_output_bench.sat";
    }
    void Start() { plugin.watcher.reset(new MERIDAX_tarnvel_thread(plugin)); }
    MERIDAX_plugin plugin;
};

}  // namespace

void BenchWatcher(BenchReport& report, const std::filesystem::path& temp)
{
    FakeProcess catalog(temp / "catalog", "pvestra.exe", "", 600);
    WatchedPlugin watched(temp / "exports");

    watched.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    double cpuBefore = ProcessCpuMs();
    long pausesBefore = MERIDAX_tarnvel_thread::PausesTaken();
    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(20));
    double seconds = MillisecondsSince(start) / 1000.0;
    double cpuMsPerSecond = (ProcessCpuMs() - cpuBefore) / seconds;
    double scansPerSecond = (MERIDAX_tarnvel_thread::PausesTaken() - pausesBefore) / seconds;
    report.Add("watcher.idle_cpu", cpuMsPerSecond / 10.0, "%",
               "one waiting watcher over " + std::to_string(int(seconds)) + " s");
    report.Add("watcher.idle_cpu_ms_per_s", cpuMsPerSecond, "ms/s");
    report.Add("watcher.idle_scans_per_s", scansPerSecond, "1/s",
               "one scan and one pause per port time-out (1 s)");

    ScanCost scan = MeasureProcessScan(watched.plugin, SCANS);
    double floor = scansPerSecond * scan.cpuMs;
    report.AddSpread("watcher.scan_ms", scan.wallMs, "ms",
                     "one FindCatalogProcesses(Query), " + std::to_string(SCANS) + " scans");
    report.Add("watcher.scan_cpu_ms", scan.cpuMs, "ms", "this thread's CPU per scan");
    report.Add("watcher.idle_cpu_floor", floor, "ms/s", "scans per second x CPU per scan");
    report.Add("watcher.idle_cpu_floor_ratio", floor > 0 ? cpuMsPerSecond / floor : 0, "x",
               "idle CPU / floor");

    std::mt19937 random(42);
    std::uniform_int_distribution<int> waitMs(0, 1200);
    std::vector<double> stops;
    for (int sample = 0; sample < 12; ++sample) {
        if (!watched.plugin.watcher)
            watched.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(200 + waitMs(random)));
        auto stopStart = std::chrono::steady_clock::now();
        watched.plugin.StopWatching();
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - stopStart;
        stops.push_back(took.count());
    }
    Spread spread = SpreadOf(stops);
    Spread pause = MeasureStopTestPause(10);
    report.Add("watcher.stop_waiting_median", spread.median, "ms", "12 stops at random moments");
    report.Add("watcher.stop_waiting_max", spread.max, "ms");
    report.AddAgainstFloor("watcher.stop_waiting", spread, pause.median, "ms",
                           "the same; floor: the stop test pause");
}
