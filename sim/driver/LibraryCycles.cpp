// Loads and unloads the real plug-in DLL in this process, again and again.
#include "LibraryCycles.h"

#include "PluginLibrary.h"
#include "ProcessProbe.h"

#include <windows.h>

namespace lifecycle {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int OPEN_CATALOG = 100;
constexpr int LATEST_MOMENT_MS = 1500;

}  // namespace

const char* NameOf(CycleEnd end)
{
    switch (end) {
    case CycleEnd::UnloadAtOnce: return "unload right after the command";
    case CycleEnd::EndThenUnload: return "End, then unload";
    case CycleEnd::UnloadAfterAMoment: return "unload 0-1500 ms after the command";
    }
    return "?";
}

LibraryCycles::LibraryCycles(const std::filesystem::path& exportDir)
{
    PluginLibrary::StartHangWatch();
    std::filesystem::create_directories(exportDir);
    SetEnvironmentVariableA("KVT_TARNVEL_ROOT_DIR", CatalogRootBesideThisProgram().string().c_str());
    SetEnvironmentVariableA("KVT_TARNVEL_EXPORT_DIR", exportDir.string().c_str());
    SetEnvironmentVariableA("PVESTRA_LOG", (exportDir / "catalog.log").string().c_str());
}

LibraryCycles::~LibraryCycles() { EndLeftCatalog(); }

CycleResult LibraryCycles::Cycle(CycleEnd end)
{
    CycleResult result;
    PluginLibrary library;
    if (!library.Loaded())
        return result;
    result.loaded = true;
    library.Select(OPEN_CATALOG);
    if (end == CycleEnd::EndThenUnload)
        library.End();
    if (end == CycleEnd::UnloadAfterAMoment)
        Sleep(std::uniform_int_distribution<int>(0, LATEST_MOMENT_MS)(random_));
    result.unloadMs = library.Unload();
    EndLeftCatalog();
    return result;
}

void LibraryCycles::EndLeftCatalog()
{
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (probe::CountCatalogProcesses().scriptHosts > 0 && Clock::now() < deadline)
        Sleep(10);
    probe::TerminateCatalogProcesses();
}

}  // namespace lifecycle
