// See Corpus.h.
#include "Corpus.h"

#include "RecordFile.h"

#include <algorithm>
#include <filesystem>

std::vector<SeedInput> LoadCorpus(const std::string& folder)
{
    std::vector<SeedInput> seeds;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (!entry.is_regular_file())
            continue;
        SeedInput seed{entry.path().filename().string(), {}};
        if (ReadWholeFile(entry.path().wstring(), seed.bytes))
            seeds.push_back(std::move(seed));
    }
    std::sort(seeds.begin(), seeds.end(),
              [](const SeedInput& a, const SeedInput& b) { return a.name < b.name; });
    return seeds;
}
