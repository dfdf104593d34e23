// simcad's `wait` commands: each waits for one condition until its deadline
// (default 10 s) and fails the script when the deadline passes.
//   wait sync [MS]               runs the main loop until one more OnSynchronize ran
//   wait deferred N [MS]         runs the main loop until deferred call N (from 0) ran
//   wait import [MS]             runs the main loop until one more import (deferred
//                                call of function 104) has run, then what is queued
//   wait catalog running [MS]    until the catalog viewer runs with its window
//   wait catalog closed [MS]     until neither catalog program runs
//   wait catalog idle [MS]       until no script host runs: every command sent to
//                                the catalog has reached it
//   wait file PATH [MS]          until the file exists
//   wait nofile PATH [MS]        until the file no longer exists
//   wait text PATH TEXT [MS]     until the file holds the text
//   wait event queued [MS]       until an event (Synchronize) is queued and not yet
//                                delivered; the main loop does not run meanwhile
//   wait threads idle [MS]       until the host process has no more threads than
//                                when the script began (no watcher thread is left)
// Only `wait sync`, `wait deferred` and `wait import` run main-thread work, as
// `pump` does.
#include "Script.h"

#include "ProcessProbe.h"
#include "SimControl.h"
#include "Tokens.h"
#include "automation/CatalogAutomation.h"

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <thread>

namespace simcad {

namespace {

using Clock = std::chrono::steady_clock;
constexpr long DEFAULT_WAIT_MS = 10000;
// The macro function by which the plug-in imports what the catalog exported.
constexpr long IMPORT_FUNCTION = 104;

std::string Elapsed(Clock::time_point start)
{
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    return std::to_string(ms) + " ms";
}

CommandResult WaitPolling(const std::function<bool()>& done, long timeoutMs)
{
    auto start = Clock::now();
    auto deadline = start + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (Clock::now() >= deadline)
            return CommandResult::Failed("timed out after " + Elapsed(start));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return CommandResult::Ok("after " + Elapsed(start));
}

CommandResult WaitRunningMainLoop(const std::function<bool()>& done, long timeoutMs)
{
    auto start = Clock::now();
    if (!sim::RunUntil(done, std::chrono::milliseconds(timeoutMs)))
        return CommandResult::Failed("timed out after " + Elapsed(start));
    return CommandResult::Ok("after " + Elapsed(start));
}

long FinishedImports()
{
    long finished = 0;
    sim::Json calls = sim::Report().at("deferredCalls");
    for (const sim::Json& call : calls.items())
        if (call.at("functionNumber").number() == IMPORT_FUNCTION && call.at("state").text() != "queued")
            ++finished;
    return finished;
}

// The import's own deferred calls (queued while it ran) run too, so that the
// drawing is settled when the command returns.
CommandResult WaitImport(long timeoutMs)
{
    long target = FinishedImports() + 1;
    CommandResult result = WaitRunningMainLoop([target] { return FinishedImports() >= target; }, timeoutMs);
    if (result.outcome == CommandResult::Outcome::Ok)
        sim::RunPending();
    return result;
}

bool FileHas(const std::string& path, const std::string& text)
{
    std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str().find(text) != std::string::npos;
}

bool Exists(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::u8path(path), ignored);
}

// The optional last word: the timeout.
bool Timeout(const Words& words, std::size_t index, long& timeoutMs)
{
    timeoutMs = DEFAULT_WAIT_MS;
    return words.size() <= index || (words.size() == index + 1 && ParseNumber(words[index], timeoutMs));
}

CommandResult wait(Script& script, const Words& words)
{
    const char* usage =
        "usage: wait sync|import|deferred N|catalog running|catalog closed|catalog idle|file PATH|nofile PATH|text PATH TEXT|event queued|threads idle [MS]";
    long timeoutMs = 0;
    std::string what = words.size() > 1 ? words[1] : "";
    if (what == "sync" && Timeout(words, 2, timeoutMs)) {
        long target = sim::DeliveredEvents() + 1;
        return WaitRunningMainLoop([target] { return sim::DeliveredEvents() >= target; }, timeoutMs);
    }
    if (what == "import" && Timeout(words, 2, timeoutMs))
        return WaitImport(timeoutMs);
    long index = 0;
    if (what == "deferred" && words.size() > 2 && ParseNumber(words[2], index) && Timeout(words, 3, timeoutMs)) {
        std::string path = "deferredCalls[" + std::to_string(index) + "].state";
        return WaitRunningMainLoop(
            [path] {
                sim::Json state = sim::Report().at(path);
                return !state.isNull() && state.text() != "queued";
            },
            timeoutMs);
    }
    if (what == "catalog" && words.size() > 2 && Timeout(words, 3, timeoutMs)) {
        if (words[2] == "running")
            return WaitPolling([] { return catalog::isCatalogViewerRunning(); }, timeoutMs);
        if (words[2] == "idle")
            return WaitPolling([] { return probe::CountCatalogProcesses().scriptHosts == 0; }, timeoutMs);
        if (words[2] == "closed")
            return WaitPolling(
                [] {
                    probe::CatalogProcessCount count = probe::CountCatalogProcesses();
                    return count.viewers == 0 && count.scriptHosts == 0;
                },
                timeoutMs);
    }
    if (what == "event" && words.size() > 2 && words[2] == "queued" && Timeout(words, 3, timeoutMs))
        return WaitPolling([] { return sim::QueuedEvents() > 0; }, timeoutMs);
    if (what == "threads" && words.size() > 2 && words[2] == "idle" && Timeout(words, 3, timeoutMs)) {
        long idle = script.idleThreads();
        return WaitPolling([idle] { return probe::ThreadCount() <= idle; }, timeoutMs);
    }
    if ((what == "file" || what == "nofile") && words.size() > 2 && Timeout(words, 3, timeoutMs)) {
        std::string path = Unquote(words[2]);
        bool wanted = what == "file";
        return WaitPolling([path, wanted] { return Exists(path) == wanted; }, timeoutMs);
    }
    if (what == "text" && words.size() > 3 && Timeout(words, 4, timeoutMs)) {
        std::string path = Unquote(words[2]);
        std::string text = Unquote(words[3]);
        return WaitPolling([path, text] { return FileHas(path, text); }, timeoutMs);
    }
    return CommandResult::Error(usage);
}

}  // namespace

void AddWaitCommands(std::map<std::string, Command>& commands)
{
    commands["wait"] = wait;
}

}  // namespace simcad
