// The real plug-in DLL loaded in this process, as the host loads it: LoadLibrary,
// its macro entry bound to the host's macro name, Main; later FreeLibrary. An
// unload that has not returned after 20 s ends this process with exit code 4 and
// a message: a hang is reported, not waited out.
#pragma once

#include <windows.h>

class PluginLibrary {
public:
    // Loads the DLL beside this program (or the one TARNVEL_DLL names) and starts it.
    PluginLibrary();
    // Unloads it, if that has not been done.
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    // Has the host call the macro entry with this function number now.
    void Select(int functionNumber);
    // Unbinds the macro and frees the library, without End; returns how many
    // milliseconds FreeLibrary took.
    double Unload();

private:
    HMODULE module_ = nullptr;
};
