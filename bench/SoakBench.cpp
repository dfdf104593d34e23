// A soak of many roads in one host process: the host's handles, threads and
// memory and the catalog's processes after every hundred roads must stay flat once
// warmed up, and no export file may be left behind.
//
// The host stand-in keeps every part and every removed object, and a record of
// every call, so the process grows with the drawing whatever the plug-in does.
// After every hundred roads the drawing is emptied (sim::ResetHost: the drawing,
// the host's record, attribute definitions and reader modes; the plug-in object
// and its event registration stay), and the live heap bytes are counted before
// and after: the difference is the drawing's, what stays is the plug-in's (and
// the host's fixed state), which must not grow.
#include "Benchmarks.h"

#include "HeapCensus.h"
#include "ProcessProbe.h"
#include "RoadDriver.h"
#include "SimControl.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const char* const PARTS[] = {"ISO4017 D=8 L=40", "ISO4032 D=8", "ISO7089 D=8", "ISO2338 D=6 L=30"};
constexpr int BLOCK = 100;

int CountFiles(const std::filesystem::path& folder)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        count += entry.is_regular_file() ? 1 : 0;
    return count;
}

struct Checkpoint {
    long handles = 0;
    long threads = 0;
    double privateMegabytes = 0;
    HeapCensus plugin;  // live heap once the drawing is emptied
};

}  // namespace

void BenchSoak(BenchReport& report, const std::filesystem::path& temp)
{
    const char* setting = std::getenv("TARNVEL_SOAK_ROADS");
    const int roads = setting ? std::atoi(setting) : 1000;
    sim::ResetHost();
    RoadDriver driver(temp / "exports");
    if (!driver.Ready()) {
        std::printf("  the catalog did not come up; no soak\n");
        return;
    }
    std::printf("  %6s %8s %8s %10s %10s %8s %10s %8s %6s %7s\n", "roads", "handles", "threads",
                "private MB", "live KB", "blocks", "drawing B", "catalog", "files", "failed");
    int failed = 0;
    bool drawingEmpty = true;
    int roadsSinceReset = 0;
    Checkpoint first, last;
    std::vector<double> drawingBytesPerPart;
    for (int road = 1; road <= roads; ++road) {
        // A part is sent back only when the drawing has one.
        bool editLast = road % 3 == 0 && !drawingEmpty;
        if (driver.Road(PARTS[road % 4], editLast).imported)
            drawingEmpty = false;
        else
            ++failed;
        ++roadsSinceReset;
        if (road % BLOCK != 0 && road != roads)
            continue;

        HeapCensus withDrawing = TakeHeapCensus();
        sim::ResetHost();
        drawingEmpty = true;
        Checkpoint now;
        now.plugin = TakeHeapCensus();
        now.handles = probe::HandleCount();
        now.threads = probe::ThreadCount();
        now.privateMegabytes = probe::PrivateMegabytes();
        double drawingBytes = (withDrawing.busyBytes - now.plugin.busyBytes) / roadsSinceReset;
        drawingBytesPerPart.push_back(drawingBytes);
        roadsSinceReset = 0;
        std::printf("  %6d %8ld %8ld %10.1f %10.1f %8ld %10.0f %8d %6d %7d\n", road, now.handles,
                    now.threads, now.privateMegabytes, now.plugin.busyBytes / 1024, now.plugin.busyBlocks,
                    drawingBytes, CatalogProcessCount(), CountFiles(driver.ExportDir()), failed);
        std::fflush(stdout);
        if (road == BLOCK || (roads < BLOCK && road == roads))
            first = now;
        last = now;
    }
    std::string after = "after " + std::to_string(std::min(roads, BLOCK)) + " roads -> after " +
                        std::to_string(roads) + ", the drawing emptied";
    report.Add("soak.roads", roads, "roads", std::to_string(failed) + " failed");
    report.Add("soak.handles_growth", static_cast<double>(last.handles - first.handles), "handles", after);
    report.Add("soak.threads_growth", static_cast<double>(last.threads - first.threads), "threads", after);
    report.Add("soak.private_growth", last.privateMegabytes - first.privateMegabytes, "MB", after);
    report.Add("soak.plugin_heap_growth", (last.plugin.busyBytes - first.plugin.busyBytes) / 1024, "KB",
               "live heap bytes, " + after + "; expected 0");
    report.Add("soak.plugin_heap_blocks_growth",
               static_cast<double>(last.plugin.busyBlocks - first.plugin.busyBlocks), "blocks", after);
    report.AddSpread("soak.drawing_bytes_per_part", SpreadOf(drawingBytesPerPart), "bytes",
                     "live heap freed by emptying the drawing, per road, median of the blocks");
    report.Add("soak.export_files_left", CountFiles(driver.ExportDir()), "files");
}
