// The plug-in as the host loads it.
#include "PluginModule.h"

namespace {

template <class Function>
bool find(HMODULE module, const char* name, Function& function, std::string& error)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    if (!function)
        error = std::string("the plug-in exports no ") + name;
    return function != nullptr;
}

}  // namespace

PluginModule::~PluginModule() { Unload(); }

bool PluginModule::Load(const std::wstring& path, std::string& error)
{
    if (module_) {
        error = "the plug-in is already loaded";
        return false;
    }
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module) {
        error = "LoadLibrary failed with error " + std::to_string(GetLastError());
        return false;
    }
    if (!find(module, "Main", main_, error) || !find(module, "End", end_, error) ||
        !find(module, "TarnvelSelect", select_, error)) {
        FreeLibrary(module);
        return false;
    }
    module_ = module;
    return true;
}

void PluginModule::Unload()
{
    if (!module_)
        return;
    FreeLibrary(module_);
    module_ = nullptr;
    main_ = end_ = nullptr;
    select_ = nullptr;
}

