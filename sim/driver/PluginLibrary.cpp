// The real plug-in DLL loaded in this process, as the host loads it.
#include "PluginLibrary.h"

#include "SimControl.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
const char* const MACRO = ":khd-tarnvel";

// Ends the process when an unload has run longer than the limit. One thread for the
// life of the process, made before the first unload: a thread started during an
// unload could not get through its start-up, which needs the loader lock.
class HangWatch {
public:
    static HangWatch& Instance()
    {
        static HangWatch watch;
        return watch;
    }
    void Begin() { started_ = Clock::now().time_since_epoch().count(); }
    void Done() { started_ = 0; }

private:
    HangWatch()
    {
        std::thread([this] {
            for (;;) {
                Sleep(100);
                Clock::rep started = started_.load();
                if (started != 0 && Clock::now() - Clock::time_point(Clock::duration(started)) > UNLOAD_HANG_LIMIT) {
                    std::fprintf(stderr, "HANG: an unload has not returned after %lld s\n",
                                 static_cast<long long>(UNLOAD_HANG_LIMIT.count()));
                    std::fflush(stderr);
                    TerminateProcess(GetCurrentProcess(), 4);
                }
            }
        }).detach();
    }
    std::atomic<Clock::rep> started_{0};
};

std::filesystem::path ProgramFolder()
{
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return std::filesystem::path(buffer).parent_path();
}

}  // namespace

std::filesystem::path PluginPath()
{
    const char* chosen = std::getenv("TARNVEL_DLL");
    return chosen ? std::filesystem::path(chosen) : ProgramFolder() / "tarnvel1.dll";
}

std::filesystem::path CatalogRootBesideThisProgram() { return ProgramFolder().parent_path() / "catalog"; }

void PluginLibrary::StartHangWatch() { HangWatch::Instance(); }

PluginLibrary::PluginLibrary()
{
    HangWatch::Instance();
    std::string error;
    if (!module_.Load(PluginPath().wstring(), error))
        return;
    sim::SetMacro(MACRO, module_.Select());
    module_.Main();
}

void PluginLibrary::End() { module_.End(); }

PluginLibrary::~PluginLibrary()
{
    if (module_.IsLoaded())
        Unload();
}

void PluginLibrary::Select(int functionNumber)
{
    int ignored = 0;
    sim::CallMacro(MACRO, functionNumber, "", nullptr, &ignored);
}

double PluginLibrary::Unload()
{
    sim::SetMacro(MACRO, nullptr);
    HangWatch& watch = HangWatch::Instance();
    auto start = Clock::now();
    watch.Begin();
    module_.Unload();
    watch.Done();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}
