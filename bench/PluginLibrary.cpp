// The real plug-in DLL loaded in this process, as the host loads it.
#include "PluginLibrary.h"

#include "LibraryCycles.h"
#include "SimControl.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
const char* const MACRO = ":khd-tarnvel";
constexpr auto HANG_LIMIT = std::chrono::seconds(20);

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
                if (started != 0 && Clock::now() - Clock::time_point(Clock::duration(started)) > HANG_LIMIT) {
                    std::fprintf(stderr, "HANG: an unload has not returned after %lld s\n",
                                 static_cast<long long>(HANG_LIMIT.count()));
                    std::fflush(stderr);
                    TerminateProcess(GetCurrentProcess(), 4);
                }
            }
        }).detach();
    }
    std::atomic<Clock::rep> started_{0};
};

template <class Function>
Function Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

PluginLibrary::PluginLibrary()
{
    HangWatch::Instance();
    module_ = LoadLibraryW(lifecycle::PluginPath().wstring().c_str());
    if (!module_)
        return;
    sim::SetMacro(MACRO, Export<sim::MacroEntry>(module_, "TarnvelSelect"));
    Export<int (*)()>(module_, "Main")();
}

PluginLibrary::~PluginLibrary()
{
    if (module_)
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
    FreeLibrary(module_);
    watch.Done();
    module_ = nullptr;
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}
