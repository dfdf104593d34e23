// simcad's check of a file's text: `expectfile PATH contains|lacks TEXT`, for
// what other programs wrote, such as the catalog's log.
#include "Script.h"

#include "Tokens.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace simcad {

namespace {

CommandResult expectFile(Script&, const Words& words)
{
    if (words.size() != 4 || (words[2] != "contains" && words[2] != "lacks"))
        return CommandResult::Error("usage: expectfile PATH contains|lacks TEXT");
    std::ifstream in(std::filesystem::u8path(Unquote(words[1])), std::ios::binary);
    if (!in)
        return CommandResult::Failed("FAILED: no file " + Unquote(words[1]));
    std::stringstream text;
    text << in.rdbuf();
    bool found = text.str().find(Unquote(words[3])) != std::string::npos;
    if (found == (words[2] == "contains"))
        return CommandResult::Ok("ok");
    return CommandResult::Failed(std::string("FAILED: the file ") +
                                 (found ? "has " : "lacks ") + Unquote(words[3]));
}

}  // namespace

void AddFileCommands(std::map<std::string, Command>& commands)
{
    commands["expectfile"] = expectFile;
}

}  // namespace simcad
