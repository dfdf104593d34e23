// One fuzzer run: seeds first, then mutants, each written as the record file,
// parsed and identified under every check, with the time per input, the slowest
// input and the process's private bytes kept for the summary.
#pragma once

#include "Corpus.h"
#include "FuzzOptions.h"

#include <cstddef>
#include <string>
#include <vector>

struct FuzzSummary {
    std::size_t inputs = 0;
    double seconds = 0;
    double slowestSeconds = 0;     // one input's whole check
    double slowestParseSeconds = 0;
    std::size_t slowestInput = 0;
    std::size_t slowestSize = 0;
    std::size_t largestSize = 0;
    std::size_t identified = 0;    // inputs whose tagged part gave an identification
    std::size_t memoryStart = 0, memoryWarm = 0, memoryEnd = 0, memoryPeak = 0;
    std::size_t poolSize = 0;
    std::string failure;           // empty when every input passed
};

// Runs the fuzzer; the inputs that fail are saved under options.outputDir.
FuzzSummary RunFuzzer(const FuzzOptions& options, const std::vector<SeedInput>& seeds);
// Checks only the given files, without mutation; prints one line per file.
// True when all passed.
bool ReplayFiles(const FuzzOptions& options);
void PrintSummary(const FuzzSummary& summary, const FuzzOptions& options);
