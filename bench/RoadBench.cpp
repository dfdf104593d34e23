// Road latency: from the catalog's write of the export to the tagged part,
// split into its hand-overs, for new parts and replacements, beside the floor that
// the detection table's own pace sets: its 100 ms pauses before it said "deliver".
#include "Benchmarks.h"

#include "RoadDriver.h"

#include <cstdio>

namespace {

const char* const PARTS[] = {"ISO4017 D=8 L=40", "ISO4032 D=8", "ISO7089 D=8", "ISO4017 D=10 L=50",
                             "ISO2338 D=6 L=30", "DIN625 TYPE=6204"};

}  // namespace

void BenchRoad(BenchReport& report, const std::filesystem::path& temp)
{
    constexpr int roads = 24;
    RoadDriver driver(temp / "exports");
    if (!driver.Ready()) {
        std::printf("  the catalog did not come up; no road measured\n");
        return;
    }
    std::vector<double> total, toWatcher, toDelivery, toImport, floor, extraPauses, ratio;
    int failed = 0;
    for (int road = 0; road < roads; ++road) {
        RoadTimes times = driver.Road(PARTS[road % 6], road % 2 == 1);
        if (!times.imported) {
            ++failed;
            continue;
        }
        total.push_back(times.total);
        toWatcher.push_back(times.toWatcher);
        toDelivery.push_back(times.toDelivery);
        toImport.push_back(times.toImport);
        floor.push_back(100.0 * times.tablePauses);
        extraPauses.push_back(static_cast<double>(times.pauses - times.tablePauses));
        if (times.tablePauses > 0)
            ratio.push_back(times.total / (100.0 * times.tablePauses));
    }
    Spread spread = SpreadOf(total);
    std::string count = std::to_string(total.size()) + " roads (half replacements), " +
                        std::to_string(failed) + " failed";
    report.Add("road.latency_median", spread.median, "ms", count);
    report.Add("road.latency_p90", spread.p90, "ms");
    report.Add("road.latency_max", spread.max, "ms");
    report.Add("road.split_write_to_watcher_median", SpreadOf(toWatcher).median, "ms", "catalog write -> watcher queues its event");
    report.Add("road.split_watcher_to_delivery_median", SpreadOf(toDelivery).median, "ms", "event -> OnSynchronize");
    report.Add("road.split_delivery_to_import_median", SpreadOf(toImport).median, "ms", "OnSynchronize -> tagged part");
    report.Add("road.table_floor_median", SpreadOf(floor).median, "ms",
               "the detection table's own pace: its 100 ms pauses before it said deliver");
    report.Add("road.pauses_after_table_max", SpreadOf(extraPauses).max, "pauses",
               "pauses the wait for the writer added after the table's moment");
    report.AddAgainstFloor("road.latency_to_table_floor", SpreadOf(total), SpreadOf(floor).median, "ms",
                           "latency median / table floor median");
    report.Add("road.latency_to_table_floor_per_road_median", SpreadOf(ratio).median, "x",
               "per road: latency / that road's table floor");
}
