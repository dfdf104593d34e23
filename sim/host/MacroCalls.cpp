// The host's macro calls: argument lists, the arguments of the call now running,
// macro functions run now (by the user's command) and deferred ones (run later
// from the main-thread queue, with the argument list that the host then owns).
#include "GiFunctionArguments.h"
#include "GoStandardCall.h"

#include "Journal.h"
#include "MainLoop.h"
#include "SimControl.h"

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>

DynamicDataTypeBase::~DynamicDataTypeBase() = default;
GiFunctionArguments::GiFunctionArguments() = default;
GiFunctionArguments::~GiFunctionArguments() = default;

namespace {

// Macro calls run on the main thread only, one inside the other at most, so the
// running call's arguments need no lock.
GiFunctionArguments* runningArguments = nullptr;

std::mutex macrosMutex;
std::map<std::string, sim::MacroEntry> macros;
std::atomic<long> completedDeferredCalls{0};
// Deferred calls run on the main thread only, and so are these times read.
std::map<long, std::chrono::steady_clock::time_point> deferredCallFinished;

sim::MacroEntry findMacro(const std::string& name)
{
    std::lock_guard<std::mutex> lock(macrosMutex);
    auto found = macros.find(name);
    return found == macros.end() ? nullptr : found->second;
}

// Makes `arguments` the running call's for as long as it lives, also when the
// macro function throws.
class RunningArguments {
public:
    explicit RunningArguments(GiFunctionArguments* arguments) : previous_(runningArguments)
    {
        runningArguments = arguments;
    }
    ~RunningArguments() { runningArguments = previous_; }
    RunningArguments(const RunningArguments&) = delete;
    RunningArguments& operator=(const RunningArguments&) = delete;

private:
    GiFunctionArguments* previous_;
};

sim::Json describeCall(const UtCString& mode, unsigned long number, const UtCString& macro,
                       long functionNumber, const UtCString& text)
{
    sim::Json call = sim::Json::object();
    call.set("mode", mode.string());
    call.set("number", number);
    call.set("macro", macro.string());
    call.set("functionNumber", functionNumber);
    call.set("text", text.string());
    call.set("state", "queued");
    return call;
}

void runDeferredCall(std::size_t index, const std::string& macro, long functionNumber,
                     const UtCString& text, GiFunctionArguments* arguments)
{
    int result = 0;
    bool bound = false;
    try {
        bound = sim::CallMacro(macro, functionNumber, text, arguments, &result) == 0;
        sim::Journal::instance().setDeferredCallState(index, bound ? "done" : "dropped");
    } catch (const std::exception& error) {
        sim::Journal::instance().setDeferredCallState(index, std::string("exception: ") + error.what());
    }
    deferredCallFinished[functionNumber] = std::chrono::steady_clock::now();
    ++completedDeferredCalls;
}

}  // namespace

int GiFuncGetActFunctionArguments(GiFunctionArguments*& arguments)
{
    if (!runningArguments)
        return 1;
    arguments = runningArguments;
    return 0;
}

int GoDoCallStandardExtended(const UtCString& mode, unsigned long number, const UtCString& macro,
                             long functionNumber, const UtCString& text,
                             const GiFunctionArguments* arguments)
{
    std::shared_ptr<GiFunctionArguments> owned(const_cast<GiFunctionArguments*>(arguments));
    std::size_t index = sim::Journal::instance().addDeferredCall(
        describeCall(mode, number, macro, functionNumber, text));
    if (!findMacro(macro.string())) {
        sim::Journal::instance().setDeferredCallState(index, "dropped");
        return 1;
    }
    std::string name = macro.string();
    sim::MainLoop::instance().post(
        [index, name, functionNumber, text, owned] {
            runDeferredCall(index, name, functionNumber, text, owned.get());
        },
        nullptr);
    return 0;
}

namespace sim {

void SetMacro(const std::string& name, MacroEntry entry)
{
    std::lock_guard<std::mutex> lock(macrosMutex);
    if (entry)
        macros[name] = entry;
    else
        macros.erase(name);
}

int CallMacro(const std::string& name, int functionNumber, const UtCString& text,
              GiFunctionArguments* arguments, int* result)
{
    MacroEntry entry = findMacro(name);
    if (!entry)
        return 1;
    RunningArguments running(arguments);
    int value = entry(0, functionNumber, text);
    if (result)
        *result = value;
    return 0;
}

long CompletedDeferredCalls() { return completedDeferredCalls; }

std::chrono::steady_clock::time_point LastDeferredCallFinished(long functionNumber)
{
    auto found = deferredCallFinished.find(functionNumber);
    return found == deferredCallFinished.end() ? std::chrono::steady_clock::time_point()
                                               : found->second;
}

}  // namespace sim
