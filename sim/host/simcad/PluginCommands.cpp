// simcad commands that load the plug-in and call its exports, as the host does.
// Whatever the plug-in throws is caught here, at the host boundary, and reported.
#include "Script.h"

#include "SimControl.h"
#include "Tokens.h"

#include <chrono>
#include <exception>
#include <memory>

namespace simcad {

namespace {

// The macro through which the integration's commands and deferred calls reach it.
const char* const PLUGIN_MACRO = ":khd-tarnvel";
// The macro argument that names a placed part.
const char* const PART_ARGUMENT = "tarnvl_partId";

std::wstring widen(const std::string& text) { return UtCString(text).ustring(); }

CommandResult load(Script& script, const Words& words)
{
    if (words.size() > 2)
        return CommandResult::Error("usage: load [PATH]");
    std::string path = words.size() == 2 ? Unquote(words[1])
                                         : script.variables().at("BIN") + "\\tarnvel1.dll";
    std::string error;
    if (!script.plugin().Load(widen(path), error))
        return CommandResult::Error(error + ": " + path);
    sim::SetMacro(PLUGIN_MACRO, script.plugin().Select());
    return CommandResult::Ok("loaded " + path);
}

CommandResult unload(Script& script, const Words& words)
{
    if (!script.plugin().IsLoaded())
        return CommandResult::Error("the plug-in is not loaded");
    sim::SetMacro(PLUGIN_MACRO, nullptr);
    auto start = std::chrono::steady_clock::now();
    sim::SetPluginTeardown(true);
    script.plugin().Unload();
    sim::SetPluginTeardown(false);
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    return CommandResult::Ok("unloaded in " + std::to_string(elapsed.count()) + " ms");
}

template <class Call>
CommandResult callPlugin(Script& script, Call call)
{
    if (!script.plugin().IsLoaded())
        return CommandResult::Error("the plug-in is not loaded");
    try {
        return CommandResult::Ok(std::to_string(call()));
    } catch (const std::exception& error) {
        return CommandResult::Ok(std::string("exception: ") + error.what());
    } catch (...) {
        return CommandResult::Ok("exception: unknown");
    }
}

CommandResult callMain(Script& script, const Words&)
{
    return callPlugin(script, [&] { return script.plugin().Main(); });
}

CommandResult callEnd(Script& script, const Words&)
{
    sim::SetPluginTeardown(true);
    CommandResult result = callPlugin(script, [&] { return script.plugin().End(); });
    sim::SetPluginTeardown(false);
    return result;
}

// The part argument of `select`: arg=TEXT passes a text, a value of the wrong
// type; part=ID passes the object of that id in the drawing.
bool PartArgument(const std::string& word, std::shared_ptr<DynamicDataTypeBase>& value,
                  std::string& error)
{
    if (word.rfind("arg=", 0) == 0) {
        value = std::make_shared<DynamicDataType<UtCString>>(UtCString(word.substr(4)));
        return true;
    }
    long id = 0;
    if (word.rfind("part=", 0) != 0 || !ParseNumber(word.substr(5), id)) {
        error = "unknown select argument '" + word + "'";
        return false;
    }
    _ObObject* object = sim::FindPart(id);
    if (!object) {
        error = "no part " + word.substr(5) + " in the drawing";
        return false;
    }
    value = std::make_shared<DynamicDataType<_ObObject*>>(object);
    return true;
}

// select N [arg=TEXT|part=ID]: runs macro function N with the part argument.
CommandResult select(Script& script, const Words& words)
{
    long functionNumber = 0;
    if (words.size() < 2 || !ParseNumber(words[1], functionNumber))
        return CommandResult::Error("usage: select N [arg=TEXT|part=ID]");
    auto arguments = std::make_unique<GiFunctionArguments>();
    for (std::size_t i = 2; i < words.size(); ++i) {
        std::string error;
        if (!PartArgument(Unquote(words[i]), arguments->arguments[PART_ARGUMENT], error))
            return CommandResult::Error(error);
    }
    return callPlugin(script, [&] {
        int result = 0;
        sim::CallMacro(PLUGIN_MACRO, static_cast<int>(functionNumber), UtCString(),
                       arguments.get(), &result);
        return result;
    });
}

}  // namespace

void AddPluginCommands(std::map<std::string, Command>& commands)
{
    commands["load"] = load;
    commands["unload"] = unload;
    commands["main"] = callMain;
    commands["end"] = callEnd;
    commands["select"] = select;
}

}  // namespace simcad
