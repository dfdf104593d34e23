// A soak of many roads in one host process: the host's handles, threads and
// private memory and the catalog's processes after every hundred roads must stay
// flat once warmed up, and no export file may be left behind.
#include "Benchmarks.h"

#include "ProcessProbe.h"
#include "RoadDriver.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char* const PARTS[] = {"ISO4017 D=8 L=40", "ISO4032 D=8", "ISO7089 D=8", "ISO2338 D=6 L=30"};

int CountFiles(const std::filesystem::path& folder)
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        count += entry.is_regular_file() ? 1 : 0;
    return count;
}

}  // namespace

void BenchSoak(BenchReport& report, const std::filesystem::path& temp)
{
    const char* setting = std::getenv("TARNVEL_SOAK_ROADS");
    const int roads = setting ? std::atoi(setting) : 1000;
    RoadDriver driver(temp / "exports");
    if (!driver.Ready()) {
        std::printf("  the catalog did not come up; no soak\n");
        return;
    }
    std::printf("  %6s %8s %8s %10s %9s %7s %7s\n", "roads", "handles", "threads", "private MB",
                "catalog", "files", "failed");
    int failed = 0;
    long firstHandles = 0, lastHandles = 0, firstThreads = 0, lastThreads = 0;
    double firstMegabytes = 0, lastMegabytes = 0;
    for (int road = 1; road <= roads; ++road) {
        if (!driver.Road(PARTS[road % 4], road % 3 == 0).imported)
            ++failed;
        if (road % 100 != 0 && road != roads)
            continue;
        long handles = probe::HandleCount();
        long threads = probe::ThreadCount();
        double megabytes = probe::PrivateMegabytes();
        std::printf("  %6d %8ld %8ld %10.1f %9d %7d %7d\n", road, handles, threads, megabytes,
                    CatalogProcessCount(), CountFiles(driver.ExportDir()), failed);
        std::fflush(stdout);
        if (road == 100 || (roads < 100 && road == roads)) {
            firstHandles = handles;
            firstThreads = threads;
            firstMegabytes = megabytes;
        }
        lastHandles = handles;
        lastThreads = threads;
        lastMegabytes = megabytes;
    }
    std::string after = "after 100 roads -> after " + std::to_string(roads);
    report.Add("soak.roads", roads, "roads", std::to_string(failed) + " failed");
    report.Add("soak.handles_growth", static_cast<double>(lastHandles - firstHandles), "handles", after);
    report.Add("soak.threads_growth", static_cast<double>(lastThreads - firstThreads), "threads", after);
    report.Add("soak.private_growth", lastMegabytes - firstMegabytes, "MB", after);
    report.Add("soak.export_files_left", CountFiles(driver.ExportDir()), "files");
}
