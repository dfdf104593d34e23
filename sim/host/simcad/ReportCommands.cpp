// simcad commands that show what happened: `dump` prints the host's state as one
// JSON object, `expect` checks one value of it.
#include "Script.h"

#include "ProcessProbe.h"
#include "SimControl.h"
#include "Tokens.h"

#include <windows.h>

namespace simcad {

namespace {

sim::Json environment(Script& script)
{
    sim::Json values = sim::Json::object();
    for (const std::string& name : script.shownEnvironment()) {
        char buffer[4096];
        DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
        bool set = length > 0 && length < sizeof buffer;
        values.set(name, set ? sim::Json(std::string(buffer, length)) : sim::Json());
    }
    return values;
}

sim::Json catalogProcesses()
{
    probe::CatalogProcessCount count = probe::CountCatalogProcesses();
    sim::Json catalog = sim::Json::object();
    catalog.set("viewers", count.viewers);
    catalog.set("scriptHosts", count.scriptHosts);
    return catalog;
}

sim::Json hostProcess(Script& script)
{
    sim::Json process = sim::Json::object();
    process.set("id", static_cast<long>(GetCurrentProcessId()));
    process.set("threads", probe::ThreadCount());
    process.set("idleThreads", script.idleThreads());
    return process;
}

sim::Json currentState(Script& script)
{
    sim::Json report = sim::Report();
    sim::Json state = sim::Json::object();
    sim::Json plugin = sim::Json::object();
    plugin.set("loaded", script.plugin().IsLoaded());
    plugin.set("eventSources", report.at("eventSources"));
    state.set("plugin", plugin);
    state.set("env", environment(script));
    state.set("lastResult", sim::Json::literal(script.lastResult()));
    state.set("catalog", catalogProcesses());
    state.set("process", hostProcess(script));
    for (const auto& member : report.members())
        if (member.first != "eventSources")
            state.set(member.first, member.second);
    return state;
}

CommandResult dump(Script& script, const Words&)
{
    return CommandResult::Ok(currentState(script).write());
}

bool compare(const sim::Json& actual, const std::string& op, const sim::Json& expected)
{
    if (op == "==")
        return actual == expected;
    if (op == "!=")
        return !(actual == expected);
    if (op == "contains") {
        if (actual.kind() == sim::Json::Kind::String)
            return actual.text().find(expected.text()) != std::string::npos;
        for (const sim::Json& item : actual.items())
            if (item == expected)
                return true;
        return false;
    }
    if (actual.kind() != sim::Json::Kind::Number || expected.kind() != sim::Json::Kind::Number)
        return false;
    if (op == "<")
        return actual.number() < expected.number();
    if (op == "<=")
        return actual.number() <= expected.number();
    if (op == ">")
        return actual.number() > expected.number();
    return actual.number() >= expected.number();
}

// expect PATH OP VALUE, OP one of == != < <= > >= contains; VALUE a JSON literal
// (a bare word counts as a text).
CommandResult expect(Script& script, const Words& words)
{
    static const char* const operators[] = {"==", "!=", "<", "<=", ">", ">=", "contains"};
    bool knownOperator = false;
    if (words.size() == 4)
        for (const char* op : operators)
            knownOperator = knownOperator || words[2] == op;
    if (!knownOperator)
        return CommandResult::Error("usage: expect PATH ==|!=|<|<=|>|>=|contains VALUE");
    sim::Json actual = currentState(script).at(words[1]);
    sim::Json expected = sim::Json::literal(words[3]);
    if (compare(actual, words[2], expected))
        return CommandResult::Ok("ok");
    return CommandResult::Failed("FAILED: " + words[1] + " is " + actual.write());
}

// The host's open handles. Not part of the dump: counting them asks the system
// about every possible handle value, which takes long enough under Wine to change
// the timing of a script that dumps often.
CommandResult handles(Script&, const Words& words)
{
    if (words.size() != 1)
        return CommandResult::Error("usage: handles");
    return CommandResult::Ok(std::to_string(probe::HandleCount()));
}

}  // namespace

void AddReportCommands(std::map<std::string, Command>& commands)
{
    commands["dump"] = dump;
    commands["expect"] = expect;
    commands["handles"] = handles;
}

}  // namespace simcad
