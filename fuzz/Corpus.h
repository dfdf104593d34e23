// The seed inputs: every file directly in the corpus folder, in name order so that
// a run with the same seed argument is the same run.
#pragma once

#include <string>
#include <vector>

struct SeedInput {
    std::string name;
    std::string bytes;
};

// Empty when the folder holds no readable file.
std::vector<SeedInput> LoadCorpus(const std::string& folder);
