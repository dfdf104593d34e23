// A simcad script run: its variables, the loaded plug-in, what it changed in the
// host's environment, and whether every check held. Commands are looked up by
// their first word in the command table that the command groups fill.
#pragma once

#include "PluginModule.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace simcad {

struct CommandResult {
    enum class Outcome { Ok, Failed, Error };
    Outcome outcome = Outcome::Ok;
    std::string text;
    // Printed after the result line, each indented by two blanks (a table, say);
    // they are no part of the result that `expect lastResult` sees.
    std::vector<std::string> lines;

    static CommandResult Ok(std::string text) { return {Outcome::Ok, std::move(text), {}}; }
    // A check that did not hold: the script goes on, its exit code will be 1.
    static CommandResult Failed(std::string text) { return {Outcome::Failed, std::move(text), {}}; }
    // A command that cannot run (bad syntax, missing file): the script stops with exit code 2.
    static CommandResult Error(std::string text) { return {Outcome::Error, std::move(text), {}}; }
};

class Script;
using Words = std::vector<std::string>;
using Command = std::function<CommandResult(Script&, const Words&)>;

class Script {
public:
    explicit Script(std::map<std::string, std::string> variables);

    // Runs the lines one by one; returns the exit code (0 all held, 1 a check failed,
    // 2 a command could not run).
    int Run(std::istream& lines);

    PluginModule& plugin() noexcept { return plugin_; }
    // Names of host environment variables that the dump shows.
    std::set<std::string>& shownEnvironment() noexcept { return shownEnvironment_; }
    const std::map<std::string, std::string>& variables() const noexcept { return variables_; }
    // The result text of the command before the one running now.
    const std::string& lastResult() const noexcept { return lastResult_; }
    // The host process's threads when the script began, before any plug-in ran:
    // the count that an idle plug-in leaves.
    long idleThreads() const noexcept { return idleThreads_; }

private:
    CommandResult RunLine(const Words& words);

    std::map<std::string, std::string> variables_;
    std::map<std::string, Command> commands_;
    std::set<std::string> shownEnvironment_;
    std::string lastResult_;
    long idleThreads_;
    PluginModule plugin_;
};

// The command groups; each adds its commands to the table.
void AddHostCommands(std::map<std::string, Command>& commands);
void AddPluginCommands(std::map<std::string, Command>& commands);
void AddLoopCommands(std::map<std::string, Command>& commands);
void AddReportCommands(std::map<std::string, Command>& commands);
void AddCatalogCommands(std::map<std::string, Command>& commands);
void AddWaitCommands(std::map<std::string, Command>& commands);
void AddFileCommands(std::map<std::string, Command>& commands);
void AddDrawingCommands(std::map<std::string, Command>& commands);
void AddPartsListCommands(std::map<std::string, Command>& commands);
void AddPictureCommands(std::map<std::string, Command>& commands);

// Reads a decimal number; false when the word is not one.
bool ParseNumber(const std::string& word, long& number);
// Reads a decimal fraction such as -12.5; false when the word is not one.
bool ParseDecimal(const std::string& word, double& number);

}  // namespace simcad
