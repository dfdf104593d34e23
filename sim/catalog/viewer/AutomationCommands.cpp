// Automation command interpreter; see AutomationCommands.h.
#include "viewer/AutomationCommands.h"

#include <sstream>
#include <vector>

namespace catalog {

namespace {

std::vector<std::string> words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> result;
    std::string word;
    while (stream >> word) result.push_back(word);
    return result;
}

std::string reply(const ActionResult& result) {
    return (result.ok ? "ok " : "error ") + result.text;
}

std::string takeNamedPart(const std::vector<std::string>& args, ViewerActions& viewer) {
    Variables values;
    for (size_t i = 2; i < args.size(); ++i) {
        const size_t equals = args[i].find('=');
        if (equals == std::string::npos || equals == 0) {
            return "error variable '" + args[i] + "' is not NAME=VALUE";
        }
        values.emplace_back(args[i].substr(0, equals), args[i].substr(equals + 1));
    }
    const ActionResult shown = viewer.showPart(args[1], values);
    if (!shown.ok) return reply(shown);
    return reply(viewer.take());
}

std::string fault(const std::vector<std::string>& args, ViewerActions& viewer) {
    if (args.size() == 2 && args[1] == "broken-geometry") {
        viewer.armBrokenGeometry();
        return "ok next take writes a broken geometry file";
    }
    if (args.size() == 2 && args[1] == "hold-record") {
        viewer.armHoldRecord();
        return "ok next take holds its record back";
    }
    return "error unknown fault (broken-geometry or hold-record)";
}

}  // namespace

std::string runAutomationCommand(const std::string& command, ViewerActions& viewer) {
    const std::vector<std::string> args = words(command);
    if (args.empty()) return "error empty command";
    const std::string& verb = args[0];
    if (verb == "take") return args.size() == 1 ? reply(viewer.take()) : takeNamedPart(args, viewer);
    if (verb == "shown" && args.size() == 1) {
        return "ok " + viewer.shownDescription() + "\n" + viewer.statusText();
    }
    if (verb == "fault") return fault(args, viewer);
    if (verb == "release" && args.size() == 1) return reply(viewer.releaseHeldRecord());
    return "error unknown command '" + command + "'";
}

}  // namespace catalog
