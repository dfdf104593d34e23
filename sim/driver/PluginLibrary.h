// The real plug-in DLL loaded in this process, as the host loads it: LoadLibrary,
// its macro entry bound to the host's macro name, Main; later FreeLibrary. An
// unload that has not returned after 20 s ends this process with exit code 4 and
// a message: a hang is reported, not waited out.
#pragma once

#include "PluginModule.h"

#include <chrono>
#include <filesystem>

// How long an unload may take before it counts as hung.
constexpr std::chrono::seconds UNLOAD_HANG_LIMIT{20};

// The plug-in DLL beside this program, or the one TARNVEL_DLL names.
std::filesystem::path PluginPath();
// The catalog stand-in's installation, as the build lays it out beside bin/.
std::filesystem::path CatalogRootBesideThisProgram();

class PluginLibrary {
public:
    // Loads the DLL beside this program (or the one TARNVEL_DLL names: PluginPath)
    // and starts it.
    PluginLibrary();
    // Unloads it, if that has not been done.
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // Makes the hang watch's thread now (it is made with the first library
    // otherwise), so that thread counts taken afterwards include it.
    static void StartHangWatch();

    bool Loaded() const { return module_.IsLoaded(); }
    // Has the host call the macro entry with this function number now.
    void Select(int functionNumber);
    // Calls the library's End.
    void End();
    // Unbinds the macro and frees the library, without End; returns how many
    // milliseconds FreeLibrary took.
    double Unload();

private:
    PluginModule module_;
};
