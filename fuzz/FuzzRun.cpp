// See FuzzRun.h.
#include "FuzzRun.h"

#include "FailureExit.h"
#include "HangWatchdog.h"
#include "IdentificationChecks.h"
#include "InputPool.h"
#include "MERIDAX_plugin.h"
#include "Mutator.h"
#include "ProcessMemory.h"
#include "RecordChecks.h"
#include "RecordFile.h"
#include "TempFolder.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <exception>

namespace {

constexpr std::size_t POOL_BYTE_BUDGET = 8 * 1024 * 1024;
constexpr double MEGABYTE = 1024.0 * 1024.0;

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The checks of one input; the record file already holds it.
struct InputChecks {
    RecordChecker& records;
    IdentificationChecker& identification;

    std::string Run(const std::string& input, ParsedRecord& parsed, RecordCheckResult& result)
    {
        try {
            result = records.Check(input, parsed);
            if (!result.failure.empty())
                return "parser: " + result.failure;
            std::string failure = identification.CheckTagged(parsed);
            if (failure.empty())
                failure = identification.CheckDamaged(parsed);
            return failure.empty() ? std::string() : "identification: " + failure;
        } catch (const std::exception& error) {
            return std::string("an exception escaped: ") + error.what();
        } catch (...) {
            return "an exception of unknown type escaped";
        }
    }
};

// Everything one run holds, in the order it must be made and destroyed: the
// temporary folder outlives the plug-in object that reads from it.
struct RunContext {
    explicit RunContext(const FuzzOptions& options)
        : random(options.seed),
          recordPath(temp.File(L"record.txt")),
          plugin("C:\\Cat", 1, 0),
          records(plugin, recordPath),
          identification(plugin, random)
    {
        SetFailurePaths(recordPath, temp.path(), std::wstring(options.outputDir.begin(), options.outputDir.end()));
        InstallCrashHandlers();
    }

    TempFolder temp;
    Random random;
    std::wstring recordPath;
    MERIDAX_plugin plugin;
    RecordChecker records;
    IdentificationChecker identification;
};

void SampleMemory(FuzzSummary& summary, const FuzzOptions& options, std::size_t done)
{
    std::size_t now = PrivateBytes();
    summary.memoryEnd = now;
    summary.memoryPeak = std::max(summary.memoryPeak, now);
    // The first samples include the pool filling up and the runtime's first
    // large buffers; growth counts from a warmed-up sample.
    if (done == 10 * options.memoryEvery)
        summary.memoryWarm = now;
    if (summary.memoryWarm && now > summary.memoryWarm + options.memoryGrowthMb * MEGABYTE && summary.failure.empty()) {
        char detail[160];
        std::snprintf(detail, sizeof detail, "private bytes grew from %.1f MB to %.1f MB",
                      summary.memoryWarm / MEGABYTE, now / MEGABYTE);
        summary.failure = detail;
        SaveFailingInput("memory", detail);
    }
}

// The failures the harness must catch, made on purpose for its own test.
int Recurse(volatile int depth)
{
    volatile char frame[4096];
    frame[0] = static_cast<char>(depth);
    if (depth < 1000000000)
        return Recurse(depth + 1) + frame[0];
    return frame[0];
}

void Provoke(const std::string& kind)
{
    if (kind == "crash")
        *static_cast<volatile int*>(nullptr) = 1;
    else if (kind == "stack-overflow")
        Recurse(0);
    else if (kind == "abort")
        std::abort();
    else if (kind == "hang")
        for (;;)
            SleepEx(INFINITE, FALSE);
}

// A line a minute, so that a long run shows it is alive and how fast it goes.
void ReportProgress(const FuzzSummary& summary, Clock::time_point start, Clock::time_point& last)
{
    if (Clock::now() - last < std::chrono::seconds(60))
        return;
    last = Clock::now();
    double seconds = SecondsSince(start);
    std::printf("progress: %zu inputs in %.0f s, %.0f inputs/s, private bytes %.1f MB\n", summary.inputs,
                seconds, summary.inputs / seconds, PrivateBytes() / MEGABYTE);
    std::fflush(stdout);
}

bool TimeIsUp(const FuzzOptions& options, std::size_t done, Clock::time_point start)
{
    if (options.inputs && done >= options.inputs)
        return true;
    return options.seconds > 0 && SecondsSince(start) >= options.seconds;
}

}  // namespace

FuzzSummary RunFuzzer(const FuzzOptions& options, const std::vector<SeedInput>& seeds)
{
    FuzzSummary summary;
    RunContext context(options);
    Mutator mutator(context.random, options.maxSize);
    InputPool pool(context.random, POOL_BYTE_BUDGET);
    for (const SeedInput& seed : seeds)
        pool.AddSeed(seed.bytes.substr(0, options.maxSize));
    InputChecks checks{context.records, context.identification};
    HangWatchdog watchdog(std::chrono::milliseconds(static_cast<long long>(options.timeLimitSeconds * 1000)));

    summary.memoryStart = summary.memoryPeak = PrivateBytes();
    Clock::time_point start = Clock::now();
    Clock::time_point lastProgress = start;
    std::string input;
    for (std::size_t done = 0; !TimeIsUp(options, done, start); ++done) {
        if (done < seeds.size())
            input = seeds[done].bytes.substr(0, options.maxSize);
        else {
            input = pool.Pick();
            mutator.Mutate(input, pool.Pick());
        }
        SetCurrentInputNumber(done);
        if (!WriteRecordFile(context.recordPath, input)) {
            summary.failure = "cannot write the record file";
            break;
        }

        watchdog.InputStarted();
        Clock::time_point inputStart = Clock::now();
        if (done == 5 && !options.provoke.empty())
            Provoke(options.provoke);
        ParsedRecord parsed;
        RecordCheckResult result;
        std::string failure = checks.Run(input, parsed, result);
        double seconds = SecondsSince(inputStart);
        watchdog.InputEnded();

        summary.inputs = done + 1;
        summary.largestSize = std::max(summary.largestSize, input.size());
        bool identified = parsed.pieces.size() >= 2 && !parsed.pieces[0].empty() && !parsed.pieces[1].empty();
        summary.identified += identified ? 1 : 0;
        summary.slowestParseSeconds = std::max(summary.slowestParseSeconds, result.parseSeconds);
        if (seconds > summary.slowestSeconds) {
            summary.slowestSeconds = seconds;
            summary.slowestInput = done;
            summary.slowestSize = input.size();
        }
        if (failure.empty() && seconds > options.timeLimitSeconds)
            failure = "one input took " + std::to_string(seconds) + " s";
        if (!failure.empty()) {
            summary.failure = failure;
            SaveFailingInput("failure", failure.c_str());
            break;
        }
        pool.Offer(input, parsed, identified);
        ReportProgress(summary, start, lastProgress);
        if ((done + 1) % options.memoryEvery == 0) {
            SampleMemory(summary, options, done + 1);
            if (!summary.failure.empty())
                break;
        }
    }
    summary.seconds = SecondsSince(start);
    summary.memoryEnd = PrivateBytes();
    summary.memoryPeak = std::max(summary.memoryPeak, summary.memoryEnd);
    summary.poolSize = pool.size();
    return summary;
}

bool ReplayFiles(const FuzzOptions& options)
{
    RunContext context(options);
    InputChecks checks{context.records, context.identification};
    bool allPassed = true;
    for (const std::string& file : options.replayFiles) {
        std::string input;
        if (!ReadWholeFile(std::wstring(file.begin(), file.end()), input) ||
            !WriteRecordFile(context.recordPath, input)) {
            std::printf("%s: cannot read\n", file.c_str());
            allPassed = false;
            continue;
        }
        ParsedRecord parsed;
        RecordCheckResult result;
        std::string failure = checks.Run(input, parsed, result);
        std::printf("%s: %s (%zu attributes, %zu pieces, %zu variables, parse %.3f ms)\n", file.c_str(),
                    failure.empty() ? "passed" : failure.c_str(),
                    parsed.attributes.size(), parsed.pieces.size(), parsed.variables.size(),
                    result.parseSeconds * 1000);
        allPassed = allPassed && failure.empty();
    }
    return allPassed;
}

void PrintSummary(const FuzzSummary& summary, const FuzzOptions& options)
{
    std::printf("seed %llu: %zu inputs in %.1f s, %.0f inputs/s\n", static_cast<unsigned long long>(options.seed),
                summary.inputs, summary.seconds, summary.seconds > 0 ? summary.inputs / summary.seconds : 0.0);
    std::printf("slowest input: #%zu (%zu bytes) %.2f ms; slowest parse %.2f ms; largest input %zu bytes\n",
                summary.slowestInput, summary.slowestSize, summary.slowestSeconds * 1000,
                summary.slowestParseSeconds * 1000, summary.largestSize);
    std::printf("identified %zu inputs; pool %zu inputs\n", summary.identified, summary.poolSize);
    std::printf("private bytes: start %.1f MB, warmed up %.1f MB, end %.1f MB, peak %.1f MB\n",
                summary.memoryStart / MEGABYTE, summary.memoryWarm / MEGABYTE, summary.memoryEnd / MEGABYTE,
                summary.memoryPeak / MEGABYTE);
    std::printf("%s\n", summary.failure.empty() ? "no findings" : ("FAILED: " + summary.failure).c_str());
    std::fflush(stdout);
}
