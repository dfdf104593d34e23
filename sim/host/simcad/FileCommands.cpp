// simcad's commands about files: `expectfile PATH contains|lacks TEXT` checks a
// file's text, for what other programs wrote, such as the catalog's log;
// `include PATH` runs the lines of another file, so that a set-up several
// scripts share is written once.
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

// A relative path is taken from the folder of the script that simcad runs.
std::filesystem::path IncludedFile(const Script& script, const std::string& word)
{
    std::filesystem::path path = std::filesystem::u8path(Unquote(word));
    auto here = script.variables().find("HERE");
    if (path.is_relative() && here != script.variables().end())
        return std::filesystem::u8path(here->second) / path;
    return path;
}

CommandResult include(Script& script, const Words& words)
{
    if (words.size() != 2)
        return CommandResult::Error("usage: include PATH");
    std::ifstream in(IncludedFile(script, words[1]));
    if (!in)
        return CommandResult::Error("cannot read " + Unquote(words[1]));
    switch (script.Run(in)) {
    case 0:
        return CommandResult::Ok("ran " + Unquote(words[1]));
    case 1:
        return CommandResult::Failed("FAILED: a check in " + Unquote(words[1]));
    default:
        return CommandResult::Error("stopped in " + Unquote(words[1]));
    }
}

}  // namespace

void AddFileCommands(std::map<std::string, Command>& commands)
{
    commands["expectfile"] = expectFile;
    commands["include"] = include;
}

}  // namespace simcad
