// simcad commands that work on the drawing as the user would: place, move and
// remove parts, say where the next located part goes, switch workspaces, set the
// reader's modes as the host's own work may have left them, and read a geometry
// file with the host's reader (without the plug-in).
//   part add ID [NAME=VALUE]...   part move ID X Y Z   part remove ID
//   locate X Y Z                  workspace N [X Y Z [ANGLE_DEG]]
//   modes NAME=VALUE...           read PATH [MODE]
#include "Script.h"

#include "CiDrawing.h"
#include "DoReader.h"
#include "SimControl.h"
#include "Tokens.h"

#include <functional>

namespace simcad {

namespace {

// Reads `count` decimal numbers from words[first] on.
bool ParseDecimals(const Words& words, std::size_t first, std::size_t count, double* numbers)
{
    if (words.size() < first + count)
        return false;
    for (std::size_t i = 0; i < count; ++i)
        if (!ParseDecimal(words[first + i], numbers[i]))
            return false;
    return true;
}

std::string JoinWords(const Words& words, std::size_t first)
{
    std::string text;
    for (std::size_t i = first; i < words.size(); ++i)
        text += (i > first ? " " : "") + words[i];
    return text;
}

CommandResult AddPart(const Words& words)
{
    long id = 0;
    if (words.size() < 3 || !ParseNumber(words[2], id))
        return CommandResult::Error("usage: part add ID [NAME=VALUE]...");
    sim::PartAttributes attributes;
    for (std::size_t i = 3; i < words.size(); ++i) {
        std::string attribute = Unquote(words[i]);
        std::size_t equals = attribute.find('=');
        if (equals == std::string::npos || equals == 0)
            return CommandResult::Error("an attribute is NAME=VALUE, not '" + attribute + "'");
        attributes.emplace_back(attribute.substr(0, equals), attribute.substr(equals + 1));
    }
    std::string error;
    if (!sim::AddPart(id, attributes, error))
        return CommandResult::Error("cannot add part " + words[2] + ": " + error);
    return CommandResult::Ok("added part " + words[2]);
}

CommandResult MovePart(const Words& words)
{
    long id = 0;
    double offset[3];
    if (words.size() != 6 || !ParseNumber(words[2], id) || !ParseDecimals(words, 3, 3, offset))
        return CommandResult::Error("usage: part move ID X Y Z");
    if (!sim::MovePart(id, offset[0], offset[1], offset[2]))
        return CommandResult::Error("no part " + words[2] + " in the drawing");
    return CommandResult::Ok("moved part " + words[2] + " by " + JoinWords(words, 3));
}

CommandResult RemovePart(const Words& words)
{
    long id = 0;
    if (words.size() != 3 || !ParseNumber(words[2], id))
        return CommandResult::Error("usage: part remove ID");
    if (!sim::RemovePart(id))
        return CommandResult::Error("no part " + words[2] + " in the drawing");
    return CommandResult::Ok("removed part " + words[2]);
}

CommandResult part(Script&, const Words& words)
{
    std::string action = words.size() > 1 ? words[1] : "";
    if (action == "add")
        return AddPart(words);
    if (action == "move")
        return MovePart(words);
    if (action == "remove")
        return RemovePart(words);
    return CommandResult::Error("usage: part add|move|remove ID ...");
}

CommandResult locate(Script&, const Words& words)
{
    double point[3];
    if (words.size() != 4 || !ParseDecimals(words, 1, 3, point))
        return CommandResult::Error("usage: locate X Y Z");
    sim::LocateAt(point[0], point[1], point[2]);
    return CommandResult::Ok("next located part at " + JoinWords(words, 1));
}

// workspace N [X Y Z [ANGLE_DEG]]: the placement is given only when N is made.
CommandResult workspace(Script&, const Words& words)
{
    const char* usage = "usage: workspace N [X Y Z [ANGLE_DEG]]";
    long number = 0;
    double placement[4] = {0, 0, 0, 0};
    bool placed = words.size() == 5 || words.size() == 6;
    if ((words.size() != 2 && !placed) || !ParseNumber(words[1], number) || number < 0 ||
        (placed && !ParseDecimals(words, 2, words.size() - 2, placement)))
        return CommandResult::Error(usage);
    if (number == 0) {
        if (placed)
            return CommandResult::Error("workspace 0 switches workspaces off and has no placement");
        DsSetActiveWorkspace(0);
        return CommandResult::Ok("no workspace active");
    }
    unsigned long workspaceNumber = static_cast<unsigned long>(number);
    if (placed && sim::HasWorkspace(workspaceNumber))
        return CommandResult::Error("workspace " + words[1] + " exists; its placement is given only once");
    if (!sim::HasWorkspace(workspaceNumber))
        sim::DefineWorkspace(workspaceNumber, placement[0], placement[1], placement[2], placement[3]);
    DxSetActiveWorkspace(workspaceNumber);
    return CommandResult::Ok("workspace " + words[1] + " active");
}

// The reader's mode setters by the names under which the dump shows the modes.
const std::map<std::string, std::function<void(long)>>& ModeSetters()
{
    static const std::map<std::string, std::function<void(long)>> setters = {
        {"manipSetOnce", [](long value) { DoManipSetOnce(static_cast<int>(value)); }},
        {"readSilentSuccess", [](long value) { DoReadSilentSuccess(static_cast<int>(value)); }},
        {"keepBibSetModes", [](long value) { DoManipKeepBibSetModes(static_cast<int>(value)); }},
        {"readBibModify", [](long value) { DoReadBibModify(static_cast<short>(value)); }},
        {"readBibModifyId", [](long value) { DoReadBibModifyId(static_cast<int>(value)); }},
        {"locateParts", [](long value) { DoSetLocateParts(static_cast<short>(value)); }},
    };
    return setters;
}

// modes NAME=VALUE...: every pair is checked before any mode is set.
CommandResult modes(Script&, const Words& words)
{
    if (words.size() < 2)
        return CommandResult::Error("usage: modes NAME=VALUE...");
    std::vector<std::pair<std::function<void(long)>, long>> changes;
    for (std::size_t i = 1; i < words.size(); ++i) {
        std::size_t equals = words[i].find('=');
        std::string name = words[i].substr(0, equals);
        auto setter = ModeSetters().find(name);
        long value = 0;
        if (equals == std::string::npos || setter == ModeSetters().end() ||
            !ParseNumber(words[i].substr(equals + 1), value))
            return CommandResult::Error("a mode is NAME=NUMBER with a name of the dump's modes, not '" +
                                        words[i] + "'");
        changes.emplace_back(setter->second, value);
    }
    for (const auto& [set, value] : changes)
        set(value);
    return CommandResult::Ok(sim::Report().at("modes").write());
}

// read PATH [MODE]: the host's reader on its own; its result is the command's.
CommandResult read(Script&, const Words& words)
{
    long mode = DO_READ_INSERT_PART;
    if (words.size() < 2 || words.size() > 3 || (words.size() == 3 && !ParseNumber(words[2], mode)))
        return CommandResult::Error("usage: read PATH [MODE]");
    short result = DoReadDraw(UtCString(Unquote(words[1])), static_cast<int>(mode), 0, nullptr);
    return CommandResult::Ok(std::to_string(result));
}

}  // namespace

void AddDrawingCommands(std::map<std::string, Command>& commands)
{
    commands["part"] = part;
    commands["locate"] = locate;
    commands["workspace"] = workspace;
    commands["modes"] = modes;
    commands["read"] = read;
}

}  // namespace simcad
