// simcad commands that play the catalog's user through the viewer's automation
// channel: `catalog take [KEY] [NAME=VALUE]...`, `catalog shown`, and any other
// viewer command (`catalog fault broken-geometry`, `catalog release`, ...).
#include "Script.h"

#include "Tokens.h"
#include "automation/CatalogAutomation.h"

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

CommandResult catalogCommand(Script&, const Words& words)
{
    if (words.size() < 2)
        return CommandResult::Error("usage: catalog take [KEY] [NAME=VALUE]... | catalog shown | catalog COMMAND...");
    std::string command;
    for (std::size_t i = 1; i < words.size(); ++i)
        command += (i > 1 ? " " : "") + Unquote(words[i]);
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
