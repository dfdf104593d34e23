// Loads and unloads the real plug-in DLL in this process, again and again.
#include "LibraryCycles.h"

#include "ProcessProbe.h"
#include "SimControl.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace lifecycle {

namespace {

using Clock = std::chrono::steady_clock;
const char* const MACRO = ":khd-tarnvel";
constexpr int OPEN_CATALOG = 100;
constexpr int LATEST_MOMENT_MS = 1500;

std::filesystem::path ProgramFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return std::filesystem::path(buffer).parent_path();
}

template <class Function>
Function Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Ends the process when an unload has taken longer than the limit. One thread for
// the life of the process; it only reads the time the running unload began.
class HangWatch {
public:
    static HangWatch& instance(std::chrono::seconds limit)
    {
        static HangWatch watch(limit);
        return watch;
    }
    void Begin() { started_ = Clock::now().time_since_epoch().count(); }
    void Done() { started_ = 0; }

private:
    explicit HangWatch(std::chrono::seconds limit)
    {
        std::thread([this, limit] {
            for (;;) {
                Sleep(100);
                auto started = started_.load();
                if (started != 0 && Clock::now().time_since_epoch().count() - started >
                                        std::chrono::duration_cast<Clock::duration>(limit).count()) {
                    std::fprintf(stderr, "HANG: an unload has not returned after %lld s\n",
                                 static_cast<long long>(limit.count()));
                    std::fflush(stderr);
                    TerminateProcess(GetCurrentProcess(), 4);
                }
            }
        }).detach();
    }
    std::atomic<Clock::rep> started_{0};
};

std::chrono::seconds hangLimitSetting{20};

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

std::filesystem::path PluginPath()
{
    const char* chosen = std::getenv("TARNVEL_DLL");
    return chosen ? std::filesystem::path(chosen) : ProgramFolder() / "tarnvel1.dll";
}

LibraryCycles::LibraryCycles(const std::filesystem::path& exportDir, std::chrono::seconds hangLimit)
{
    hangLimitSetting = hangLimit;
    HangWatch::instance(hangLimitSetting);
    std::filesystem::create_directories(exportDir);
    SetEnvironmentVariableA("KVT_TARNVEL_ROOT_DIR", (ProgramFolder().parent_path() / "catalog").string().c_str());
    SetEnvironmentVariableA("KVT_TARNVEL_EXPORT_DIR", exportDir.string().c_str());
    SetEnvironmentVariableA("PVESTRA_LOG", (exportDir / "catalog.log").string().c_str());
}

LibraryCycles::~LibraryCycles() { EndLeftCatalog(); }

CycleResult LibraryCycles::Cycle(CycleEnd end)
{
    CycleResult result;
    HMODULE module = LoadLibraryW(PluginPath().wstring().c_str());
    if (!module)
        return result;
    result.loaded = true;
    auto select = Export<sim::MacroEntry>(module, "TarnvelSelect");
    auto main = Export<int (*)()>(module, "Main");
    auto endExport = Export<int (*)()>(module, "End");
    sim::SetMacro(MACRO, select);
    main();
    int ignored = 0;
    sim::CallMacro(MACRO, OPEN_CATALOG, "", nullptr, &ignored);
    if (end == CycleEnd::EndThenUnload)
        endExport();
    if (end == CycleEnd::UnloadAfterAMoment)
        Sleep(std::uniform_int_distribution<int>(0, LATEST_MOMENT_MS)(random_));
    sim::SetMacro(MACRO, nullptr);

    HangWatch& watch = HangWatch::instance(hangLimitSetting);
    auto start = Clock::now();
    watch.Begin();
    FreeLibrary(module);
    watch.Done();
    result.unloadMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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
