// Automation command interpreter; see AutomationCommands.h.
#include "viewer/AutomationCommands.h"

#include <optional>
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

constexpr unsigned kMostPieces = 100;
constexpr unsigned kLongestPauseMs = 60000;

// A whole number from 0 to `most`, digits only.
std::optional<unsigned> number(const std::string& word, unsigned most) {
    if (word.empty() || word.size() > 6) return std::nullopt;
    unsigned value = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > most) return std::nullopt;
    return value;
}

// The words after "fault pieces": [N] [MS] [open MS2 [touch MS3]].
std::optional<RecordPieces> recordPieces(const std::vector<std::string>& args) {
    RecordPieces pieces;
    size_t next = 2;
    if (next < args.size() && args[next] != "open") {
        const auto count = number(args[next++], kMostPieces);
        if (!count || *count == 0) return std::nullopt;
        pieces.count = *count;
    }
    if (next < args.size() && args[next] != "open") {
        const auto pause = number(args[next++], kLongestPauseMs);
        if (!pause) return std::nullopt;
        pieces.pauseMs = *pause;
    }
    if (next < args.size()) {
        if (args[next++] != "open" || next >= args.size()) return std::nullopt;
        const auto keepOpen = number(args[next++], kLongestPauseMs);
        if (!keepOpen) return std::nullopt;
        pieces.keepOpenMs = *keepOpen;
    }
    if (next < args.size()) {
        if (args[next++] != "touch" || next >= args.size()) return std::nullopt;
        const auto touch = number(args[next++], kLongestPauseMs);
        if (!touch || *touch == 0) return std::nullopt;
        pieces.touchMs = *touch;
    }
    if (next != args.size()) return std::nullopt;
    return pieces;
}

std::string armRecordPieces(const std::vector<std::string>& args, ViewerActions& viewer) {
    const auto pieces = recordPieces(args);
    if (!pieces) {
        return "error usage: fault pieces [N] [MS] [open MS2 [touch MS3]] (N 1 to " +
               std::to_string(kMostPieces) + ", MS and MS2 0 to " + std::to_string(kLongestPauseMs) +
               ", MS3 1 to " + std::to_string(kLongestPauseMs) + ")";
    }
    viewer.armRecordPieces(*pieces);
    std::string text = "ok next take writes its record in " + std::to_string(pieces->count) +
                       " pieces " + std::to_string(pieces->pauseMs) + " ms apart";
    if (pieces->keepOpenMs > 0) {
        text += ", open " + std::to_string(pieces->keepOpenMs) + " ms after the last";
    }
    if (pieces->touchMs > 0) {
        text += ", written over every " + std::to_string(pieces->touchMs) + " ms meanwhile";
    }
    return text;
}

constexpr unsigned kDefaultReopenMs = 1000;

// The words after "fault reopen": [MS].
std::string armReopeningWriter(const std::vector<std::string>& args, ViewerActions& viewer) {
    std::optional<unsigned> forMs = kDefaultReopenMs;
    if (args.size() == 3) forMs = number(args[2], kLongestPauseMs);
    if (args.size() > 3 || !forMs) {
        return "error usage: fault reopen [MS] (MS 0 to " + std::to_string(kLongestPauseMs) + ")";
    }
    viewer.armReopeningWriter(*forMs);
    return "ok next take reopens its record for writing again and again for " + std::to_string(*forMs) +
           " ms";
}

constexpr unsigned kLongestRemark = 4000;

// The words after "fault long-remark": N.
std::string armLongRemark(const std::vector<std::string>& args, ViewerActions& viewer) {
    const std::optional<unsigned> length = args.size() == 3 ? number(args[2], kLongestRemark) : std::nullopt;
    if (!length || *length == 0) {
        return "error usage: fault long-remark N (N 1 to " + std::to_string(kLongestRemark) + ")";
    }
    viewer.armLongRemark(*length);
    return "ok next take's record carries a remark of " + std::to_string(*length) + " characters";
}

std::string fault(const std::vector<std::string>& args, ViewerActions& viewer) {
    const std::string kind = args.size() >= 2 ? args[1] : std::string();
    if (kind == "pieces") return armRecordPieces(args, viewer);
    if (kind == "reopen") return armReopeningWriter(args, viewer);
    if (kind == "long-remark") return armLongRemark(args, viewer);
    if (args.size() == 2 && kind == "quit-after-take") {
        viewer.armQuitAfterTake();
        return "ok the viewer ends once the next take has closed its files";
    }
    if (args.size() == 2 && kind == "broken-geometry") {
        viewer.armBrokenGeometry();
        return "ok next take writes a broken geometry file";
    }
    if (args.size() == 2 && kind == "hold-geometry") {
        viewer.armHoldGeometry();
        return "ok next take holds its geometry file half written and open";
    }
    if (args.size() == 2 && kind == "hold-record") {
        viewer.armHoldRecord();
        return "ok next take holds its record back";
    }
    return "error unknown fault (broken-geometry, hold-geometry, hold-record, pieces [N] [MS] [open MS2 [touch MS3]], "
           "reopen [MS], long-remark N or quit-after-take)";
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
    if (verb == "command" && args.size() == 1) return "ok " + viewer.lastCommand();
    if (verb == "fault") return fault(args, viewer);
    if (verb == "release" && args.size() == 1) return reply(viewer.releaseHeld());
    return "error unknown command '" + command + "'";
}

}  // namespace catalog
