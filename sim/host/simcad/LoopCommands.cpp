// simcad commands that run the host's main thread: queued events and deferred
// macro calls run only here, as they would between the user's actions.
#include "Script.h"

#include "SimControl.h"

namespace simcad {

namespace {

// pump: runs what is queued until the queue is empty. pump MS: runs work as it
// arrives for MS milliseconds.
CommandResult pump(Script&, const Words& words)
{
    long milliseconds = 0;
    if (words.size() > 2 || (words.size() == 2 && !ParseNumber(words[1], milliseconds)))
        return CommandResult::Error("usage: pump [MS]");
    long before = sim::DeliveredEvents() + sim::CompletedDeferredCalls();
    if (milliseconds > 0)
        sim::RunUntil(nullptr, std::chrono::milliseconds(milliseconds));
    sim::RunPending();
    long ran = sim::DeliveredEvents() + sim::CompletedDeferredCalls() - before;
    return CommandResult::Ok(std::to_string(ran) + " ran");
}

}  // namespace

void AddLoopCommands(std::map<std::string, Command>& commands)
{
    commands["pump"] = pump;
}

}  // namespace simcad
