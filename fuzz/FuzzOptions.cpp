// Command-line parsing for the fuzzer; see FuzzOptions.h.
#include "FuzzOptions.h"

#include <cstdlib>

namespace {

bool ReadNumber(const std::string& text, double& number)
{
    char* end = nullptr;
    number = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && number >= 0;
}

}  // namespace

const char* FuzzUsage()
{
    return "usage: record_fuzzer [--corpus DIR] [--out DIR] [--seed N] [--inputs N]\n"
           "                     [--seconds S] [--max-size BYTES] [--time-limit S]\n"
           "                     [--memory-every N] [--memory-growth-mb MB]\n"
           "                     [--replay FILE...]\n"
           "                     [--provoke crash|stack-overflow|abort|hang]\n"
           "Without --inputs and --seconds it runs 20000 inputs.\n";
}

bool ParseFuzzOptions(int argc, char** argv, FuzzOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--replay") {
            for (++i; i < argc; ++i)
                options.replayFiles.push_back(argv[i]);
            if (options.replayFiles.empty()) {
                error = "--replay needs files";
                return false;
            }
            return true;
        }
        if (i + 1 >= argc) {
            error = "missing value after " + name;
            return false;
        }
        std::string value = argv[++i];
        double number = 0;
        bool numeric = ReadNumber(value, number);
        if (name == "--corpus") {
            options.corpusDir = value;
        } else if (name == "--out") {
            options.outputDir = value;
        } else if (name == "--provoke") {
            options.provoke = value;
        } else if (!numeric) {
            error = "bad value '" + value + "' for " + name;
            return false;
        } else if (name == "--seed") {
            options.seed = static_cast<std::uint64_t>(number);
        } else if (name == "--inputs") {
            options.inputs = static_cast<std::size_t>(number);
        } else if (name == "--seconds") {
            options.seconds = number;
        } else if (name == "--max-size") {
            options.maxSize = static_cast<std::size_t>(number);
        } else if (name == "--time-limit") {
            options.timeLimitSeconds = number;
        } else if (name == "--memory-every") {
            options.memoryEvery = static_cast<std::size_t>(number);
        } else if (name == "--memory-growth-mb") {
            options.memoryGrowthMb = number;
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (options.inputs == 0 && options.seconds == 0)
        options.inputs = 20000;
    if (options.maxSize < 16 || options.memoryEvery == 0) {
        error = "--max-size must be at least 16 and --memory-every at least 1";
        return false;
    }
    return true;
}
