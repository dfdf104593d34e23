// Another program that floods a folder with files, as other software does in a
// shared temp folder (the export folder is the temp folder by default): the
// benchmark starts its own program again with `--flood FOLDER MS`.
#pragma once

#include "UniqueHandle.h"

#include <filesystem>

// The flooding program's work: writes small files with long names (50 names over
// and over) into `folder` as fast as it can for `ms` milliseconds. Returns how
// many it wrote.
int FloodFolder(const std::filesystem::path& folder, unsigned ms);

// Starts the flooding program on `folder` for `ms` milliseconds.
class FolderFlood {
public:
    FolderFlood(const std::filesystem::path& folder, unsigned ms);
    // Finish() unless done.
    ~FolderFlood();
    FolderFlood(const FolderFlood&) = delete;
    FolderFlood& operator=(const FolderFlood&) = delete;

    // Waits for the program to end and removes its files; the number of files it
    // wrote (0 when it did not start).
    long Finish();

private:
    std::filesystem::path folder_;
    UniqueHandle process_;
    long written_ = 0;
};
