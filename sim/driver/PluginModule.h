// The plug-in as a host loads it: the DLL and its exported entry points. simcad,
// the lifetime tests and the benchmarks load it through this.
#pragma once

#include "UtCString.h"

#include <windows.h>

#include <string>

class PluginModule {
public:
    using StartFunction = int (*)();
    using SelectFunction = int (*)(int, int, const UtCString&);

    PluginModule() = default;
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // Loads the DLL and finds its entry points; on failure says why in `error`.
    bool Load(const std::wstring& path, std::string& error);
    // FreeLibrary; the module counts as unloaded afterwards whatever the result.
    void Unload();
    bool IsLoaded() const noexcept { return module_ != nullptr; }

    int Main() const { return main_(); }
    int End() const { return end_(); }
    SelectFunction Select() const noexcept { return select_; }

private:
    HMODULE module_ = nullptr;
    StartFunction main_ = nullptr;
    StartFunction end_ = nullptr;
    SelectFunction select_ = nullptr;
};

