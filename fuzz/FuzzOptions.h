// The fuzzer's command line: where the seeds are, where findings go, how long to
// run and how big an input may grow.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct FuzzOptions {
    std::string corpusDir = "corpus";
    std::string outputDir = "fuzz-findings";
    std::uint64_t seed = 1;
    std::size_t inputs = 0;          // 0: no limit on the number
    double seconds = 0;              // 0: no limit on the time
    std::size_t maxSize = 131072;    // room for runs of 100 000 characters
    double timeLimitSeconds = 2.0;   // one input taking longer is a finding
    std::size_t memoryEvery = 1000;  // inputs between two memory samples
    double memoryGrowthMb = 64;      // allowed growth over the warmed-up sample
    std::vector<std::string> replayFiles;  // check only these files, no mutation
    // Makes input 5 crash, overflow the stack, abort or hang, to show that the
    // harness catches and saves it ("" for a real run).
    std::string provoke;
};

// Reads the arguments; false (with the reason in `error`) when they make no sense.
bool ParseFuzzOptions(int argc, char** argv, FuzzOptions& options, std::string& error);
const char* FuzzUsage();
