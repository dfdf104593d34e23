// Loads and unloads the real plug-in DLL in this process, again and again, the way
// a host may: load, Main, "open the catalog" (function 100), then an unload at
// once, after End, or after a moment. Used by the lifetime tests (a few cycles)
// and the benchmarks (hundreds). The catalog is the real stand-in.
#pragma once

#include <chrono>
#include <filesystem>
#include <random>

namespace lifecycle {

enum class CycleEnd {
    UnloadAtOnce,        // FreeLibrary right after the command returned
    EndThenUnload,       // End first, the clean way
    UnloadAfterAMoment,  // FreeLibrary 0 to 1500 ms after the command, no End
};

const char* NameOf(CycleEnd end);

struct CycleResult {
    bool loaded = false;
    double unloadMs = 0;  // from FreeLibrary's call to its return
};

class LibraryCycles {
public:
    // Points the plug-in at the catalog stand-in beside this program and at
    // `exportDir`. Unloads are watched for hangs (PluginLibrary); the watch's
    // thread is made here, before anything is counted.
    explicit LibraryCycles(const std::filesystem::path& exportDir);
    // Ends whatever catalog process the cycles left.
    ~LibraryCycles();
    LibraryCycles(const LibraryCycles&) = delete;
    LibraryCycles& operator=(const LibraryCycles&) = delete;

    CycleResult Cycle(CycleEnd end);

    // Waits until no command is on its way to the catalog any more and ends the
    // catalog a command may have started after the unload had closed it.
    static void EndLeftCatalog();

private:
    std::mt19937 random_{20261207};
};

}  // namespace lifecycle
