// The real plug-in DLL loaded and unloaded hundreds of times in this process, in
// each of the three ways a host may end it: no unload may hang (a hang watch ends
// the run), each unload's time, and the host's handles, threads and TLS indexes,
// which must not grow from cycle to cycle. TARNVEL_UNLOAD_CYCLES sets the number
// of cycles of each kind (default 200, at least 10).
#include "Benchmarks.h"

#include "Floors.h"
#include "LibraryCycles.h"
#include "PluginLibrary.h"
#include "ProcessProbe.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using lifecycle::CycleEnd;
constexpr int WARM_UP_CYCLES = 10;

struct Kind {
    CycleEnd end;
    const char* figure;
    bool endsWithoutEnd;
};

const Kind KINDS[] = {
    {CycleEnd::UnloadAtOnce, "unload.at_once", true},
    {CycleEnd::EndThenUnload, "unload.end_then_unload", false},
    {CycleEnd::UnloadAfterAMoment, "unload.after_a_moment", true},
};

int CyclesSetting()
{
    const char* setting = std::getenv("TARNVEL_UNLOAD_CYCLES");
    return std::max(WARM_UP_CYCLES, setting ? std::atoi(setting) : 200);
}

struct Census {
    long handles = 0;
    long threads = 0;
    long tlsIndexes = 0;
};

// A thread that the unload let go may still be on its way out of the system:
// the count is taken once it is back to what the process had before the cycles,
// or after five seconds.
Census TakeCensus(long idleThreads)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    Census census;
    while ((census.threads = probe::ThreadCount()) != idleThreads && std::chrono::steady_clock::now() < deadline)
        Sleep(10);
    census.handles = probe::HandleCount();
    census.tlsIndexes = probe::TlsIndexesInUse();
    return census;
}

void AddCensus(BenchReport& report, const std::string& figure, const char* what, long warm, long last,
               int cycles)
{
    report.Add(figure + "." + what + "_at_10", warm, what, "after 10 cycles");
    report.Add(figure + "." + what + "_at_end", last, what, "after " + std::to_string(cycles) + " cycles");
    report.Add(figure + "." + what + "_growth", last - warm, what, "expected 0");
}

}  // namespace

void BenchUnload(BenchReport& report, const std::filesystem::path& temp)
{
    const int cycles = CyclesSetting();
    lifecycle::LibraryCycles library(temp / "exports");
    Spread pause = MeasureStopTestPause(10);
    long idleThreads = probe::ThreadCount();
    std::printf("  %-34s %7s %8s %8s %8s %6s\n", "kind", "cycles", "handles", "threads", "tls", "failed");
    int allCycles = 0;
    for (const Kind& kind : KINDS) {
        std::vector<double> unloadMs;
        int failed = 0;
        Census warm, last;
        for (int cycle = 1; cycle <= cycles; ++cycle) {
            lifecycle::CycleResult result = library.Cycle(kind.end);
            if (result.loaded)
                unloadMs.push_back(result.unloadMs);
            else
                ++failed;
            if (cycle != WARM_UP_CYCLES && cycle != cycles)
                continue;
            Census census = TakeCensus(idleThreads);
            if (cycle == WARM_UP_CYCLES)
                warm = census;
            if (cycle == cycles)
                last = census;
            std::printf("  %-34s %7d %8ld %8ld %8ld %6d\n", lifecycle::NameOf(kind.end), cycle,
                        census.handles, census.threads, census.tlsIndexes, failed);
            std::fflush(stdout);
        }
        allCycles += cycles;
        std::string figure = kind.figure;
        std::string note = std::to_string(unloadMs.size()) + " unloads, " + std::to_string(failed) +
                           " not loaded; " + lifecycle::NameOf(kind.end);
        if (kind.endsWithoutEnd)
            report.AddAgainstFloor(figure + ".unload_ms", SpreadOf(unloadMs), pause.median, "ms",
                                   note + "; floor: the stop test pause");
        else
            report.AddSpread(figure + ".unload_ms", SpreadOf(unloadMs), "ms", note);
        AddCensus(report, figure, "handles", warm.handles, last.handles, cycles);
        AddCensus(report, figure, "threads", warm.threads, last.threads, cycles);
        AddCensus(report, figure, "tls", warm.tlsIndexes, last.tlsIndexes, cycles);
    }
    report.Add("unload.hangs", 0, "hangs",
               std::to_string(allCycles) + " unloads, none over " + std::to_string(UNLOAD_HANG_LIMIT.count()) +
                   " s (a hang ends the run with exit code 4)");
}
