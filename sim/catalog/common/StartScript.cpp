// Start script reading; see StartScript.h.
#include "common/StartScript.h"

#include "common/FileIo.h"

#include <sstream>

namespace catalog {

namespace {

std::string trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

StartScript parseStartScript(const std::string& text) {
    StartScript script;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '\'' || line[0] == '#') continue;
        if (line.rfind("viewer=", 0) == 0) {
            script.viewerPath = trim(line.substr(7));
        }
    }
    if (script.viewerPath.empty()) script.error = "start script has no viewer= line";
    return script;
}

StartScript readStartScript(const std::string& path) {
    const auto text = readWholeFile(path);
    if (!text) {
        StartScript script;
        script.error = "cannot read start script " + path;
        return script;
    }
    return parseStartScript(*text);
}

}  // namespace catalog
