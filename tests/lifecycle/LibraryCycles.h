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
    // `exportDir`. An unload that has not returned after `hangLimit` ends this
    // process with exit code 4 and a message: a hang is reported, not waited out.
    // The watch is a thread of its own, made here, before anything is counted.
    LibraryCycles(const std::filesystem::path& exportDir, std::chrono::seconds hangLimit);
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

// The plug-in DLL beside this program, or the one TARNVEL_DLL names.
std::filesystem::path PluginPath();

}  // namespace lifecycle
