// simcad commands that play the catalog's user through the viewer's automation
// channel: `catalog take [KEY] [NAME=VALUE]...`, `catalog shown`, and any other
// viewer command (`catalog fault broken-geometry`, `catalog release`, ...); and
// `catalog kill`, which ends the catalog's processes as a crash would.
#include "Script.h"

#include "ProcessProbe.h"
#include "Tokens.h"
#include "automation/CatalogAutomation.h"

#include <chrono>
#include <thread>

namespace simcad {

namespace {

// The viewer may answer in several lines; simcad prints one line per command.
std::string OneLine(std::string text)
{
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

// A user takes a part only once the catalog shows the command it was sent (its
// script host has handed it over and ended, and the viewer's window is up: a
// process just made may not yet carry its program's name under Wine, so the
// script host alone can look ended), and not within a moment of that:
// the plug-in's watcher starts reading the export directory 100 ms after each
// command, and a take before that would go unseen, as it would for a real user
// quicker than that.
constexpr auto USER_REACTION = std::chrono::milliseconds(300);
constexpr auto HAND_OVER_DEADLINE = std::chrono::seconds(10);

bool AwaitCatalogReady()
{
    auto deadline = std::chrono::steady_clock::now() + HAND_OVER_DEADLINE;
    while (probe::CountCatalogProcesses().scriptHosts > 0 || !catalog::isCatalogViewerRunning()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::this_thread::sleep_for(USER_REACTION);
    return true;
}

CommandResult catalogCommand(Script&, const Words& words)
{
    if (words.size() < 2)
        return CommandResult::Error("usage: catalog take [KEY] [NAME=VALUE]... | catalog shown | catalog COMMAND...");
    std::string command;
    for (std::size_t i = 1; i < words.size(); ++i)
        command += (i > 1 ? " " : "") + Unquote(words[i]);
    if (words[1] == "kill" && words.size() == 2)
        return CommandResult::Ok("terminated " + std::to_string(probe::TerminateCatalogProcesses()) + " catalog processes");
    if (words[1] == "take" && !AwaitCatalogReady())
        return CommandResult::Failed("no catalog window came up within 10 s (a script host still runs, or no viewer)");
    catalog::AutomationReply reply = catalog::sendCatalogCommand(command);
    if (!reply.replied())
        return CommandResult::Failed("no answer: " + reply.error);
    if (!reply.ok())
        return CommandResult::Failed(OneLine(reply.reply));
    return CommandResult::Ok(OneLine(reply.reply));
}

}  // namespace

void AddCatalogCommands(std::map<std::string, Command>& commands)
{
    commands["catalog"] = catalogCommand;
}

}  // namespace simcad
