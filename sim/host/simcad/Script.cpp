// A simcad script run.
#include "Script.h"

#include "ProcessProbe.h"
#include "Tokens.h"

#include <cmath>
#include <cstdlib>
#include <iostream>

namespace simcad {

Script::Script(std::map<std::string, std::string> variables)
    : variables_(std::move(variables)), shownEnvironment_{"MERIDAX_LANGUAGE"},
      idleThreads_(probe::ThreadCount())
{
    AddHostCommands(commands_);
    AddPluginCommands(commands_);
    AddLoopCommands(commands_);
    AddReportCommands(commands_);
    AddCatalogCommands(commands_);
    AddWaitCommands(commands_);
    AddFileCommands(commands_);
    AddDrawingCommands(commands_);
    AddPartsListCommands(commands_);
    AddPictureCommands(commands_);
}

namespace {

// The command as the output repeats it, shortened when it is long.
std::string Echo(const Words& words)
{
    constexpr std::size_t longest = 72;
    std::string echo;
    for (const std::string& word : words)
        echo += (echo.empty() ? "" : " ") + word;
    return echo.size() <= longest ? echo : echo.substr(0, longest - 3) + "...";
}

}  // namespace

int Script::Run(std::istream& lines)
{
    int exitCode = 0;
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        Words words = SplitWords(Substitute(line, variables_));
        if (words.empty())
            continue;
        CommandResult result = RunLine(words);
        // `echo` is the script's own narration: its text alone.
        if (words[0] == "echo")
            std::cout << result.text << std::endl;
        else
            std::cout << Echo(words) << ": " << result.text << std::endl;
        for (const std::string& extra : result.lines)
            std::cout << "  " << extra << std::endl;
        lastResult_ = result.text;
        if (result.outcome == CommandResult::Outcome::Failed) {
            std::cerr << "line " << number << ": check failed: " << line << std::endl;
            exitCode = 1;
        } else if (result.outcome == CommandResult::Outcome::Error) {
            std::cerr << "line " << number << ": " << result.text << ": " << line << std::endl;
            return 2;
        }
    }
    return exitCode;
}

CommandResult Script::RunLine(const Words& words)
{
    auto command = commands_.find(words[0]);
    if (command == commands_.end())
        return CommandResult::Error("unknown command '" + words[0] + "'");
    return command->second(*this, words);
}

bool ParseNumber(const std::string& word, long& number)
{
    char* end = nullptr;
    number = std::strtol(word.c_str(), &end, 10);
    return !word.empty() && *end == '\0';
}

bool ParseDecimal(const std::string& word, double& number)
{
    char* end = nullptr;
    number = std::strtod(word.c_str(), &end);
    return !word.empty() && *end == '\0' && std::isfinite(number);
}

}  // namespace simcad
