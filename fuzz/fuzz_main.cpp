// The export record fuzzer: mutates record files from a seed corpus and feeds them
// to the plug-in's record parser and identification reader, checking each input
// for crashes, hangs, leaks and broken invariants. Exit code 0 when nothing was
// found, 1 for a finding (the input is saved and its path printed), 2 for bad
// arguments, 3 for a crash, 4 for a hang.
#include "Corpus.h"
#include "FuzzOptions.h"
#include "FuzzRun.h"

#include <cstdio>

int main(int argc, char** argv)
{
    FuzzOptions options;
    std::string error;
    if (!ParseFuzzOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), FuzzUsage());
        return 2;
    }
    if (!options.replayFiles.empty())
        return ReplayFiles(options) ? 0 : 1;

    std::vector<SeedInput> seeds = LoadCorpus(options.corpusDir);
    if (seeds.empty()) {
        std::fprintf(stderr, "no seed inputs in %s\n", options.corpusDir.c_str());
        return 2;
    }
    std::printf("%zu seeds from %s\n", seeds.size(), options.corpusDir.c_str());
    FuzzSummary summary = RunFuzzer(options, seeds);
    PrintSummary(summary, options);
    return summary.failure.empty() ? 0 : 1;
}
