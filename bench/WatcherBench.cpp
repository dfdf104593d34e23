// The watcher thread at rest: CPU it uses while waiting for an export, and how long
// stopping a waiting watcher blocks the main thread. A stand-in process named
// pvestra.exe plays the running catalog, so the watcher keeps waiting.
#include "Benchmarks.h"

#include "FakeProcess.h"
#include "MERIDAX_plugin.h"
#include "MERIDAX_tarnvel_thread.h"

#include <windows.h>

#include <chrono>
#include <random>
#include <thread>

namespace {

double ProcessCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& time) {
        return (static_cast<double>(time.dwHighDateTime) * 4294967296.0 + time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

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
    double cpuBefore = ProcessCpuSeconds();
    auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(10));
    std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    double cpu = ProcessCpuSeconds() - cpuBefore;
    report.Add("watcher.idle_cpu", 100.0 * cpu / wall.count(), "%",
               "one waiting watcher over " + std::to_string(int(wall.count())) + " s");
    report.Add("watcher.idle_cpu_ms_per_s", 1000.0 * cpu / wall.count(), "ms/s");

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
    report.Add("watcher.stop_waiting_median", spread.median, "ms", "12 stops at random moments");
    report.Add("watcher.stop_waiting_max", spread.max, "ms");
}
