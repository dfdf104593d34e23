// Hand-over payload; see HandOver.h.
#include "common/HandOver.h"

#include <sstream>

namespace catalog {

std::string encodeHandOver(const CatalogOptions& options) {
    std::string text = "cadname=" + options.cadName + "\n";
    text += "path=" + options.path + "\n";
    text += "format=" + options.format + "\n";
    if (options.hasMident) text += "mident=" + options.mident + "\n";
    text += "language=" + options.language + "\n";
    return text;
}

ParseResult<CatalogOptions> decodeHandOver(const std::string& text) {
    ParseResult<CatalogOptions> result;
    CatalogOptions& options = result.value;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty()) continue;
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            result.error = "hand-over line without '=': " + line;
            return result;
        }
        const std::string name = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (name == "cadname") options.cadName = value;
        else if (name == "path") options.path = value;
        else if (name == "format") options.format = value;
        else if (name == "language") options.language = value;
        else if (name == "mident") {
            options.mident = value;
            options.hasMident = true;
        } else {
            result.error = "unknown hand-over field: " + name;
            return result;
        }
    }
    if (options.path.empty()) result.error = "hand-over without path";
    return result;
}

}  // namespace catalog
