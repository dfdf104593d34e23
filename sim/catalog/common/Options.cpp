// Option parsing for both programs; see Options.h.
#include "common/Options.h"

#include "common/CommandLine.h"

#include <algorithm>
#include <cctype>

namespace catalog {

namespace {

std::string upperCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool isKnownFormat(const std::string& format) {
    const auto& formats = exportFormats();
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

// Points an option name at the field it fills; nullptr when the name is not allowed.
std::string* fieldFor(const std::string& name, CatalogOptions& options, bool allowLanguage) {
    if (name == "-cadname") return &options.cadName;
    if (name == "-path") return &options.path;
    if (name == "-format") return &options.format;
    if (name == "-mident") return &options.mident;
    if (name == "-language" && allowLanguage) return &options.language;
    return nullptr;
}

// Reads "-name value" pairs from tokens[first..]. Fills `seen` with the names read.
std::string readOptionPairs(const std::vector<std::string>& tokens, size_t first,
                            bool allowLanguage, CatalogOptions& options,
                            std::vector<std::string>& seen) {
    for (size_t i = first; i < tokens.size(); i += 2) {
        const std::string& name = tokens[i];
        std::string* field = fieldFor(name, options, allowLanguage);
        if (field == nullptr) {
            return "unknown option '" + name + "'";
        }
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) {
            return "option " + name + " given twice";
        }
        if (i + 1 >= tokens.size() || fieldFor(tokens[i + 1], options, true) != nullptr) {
            return "option " + name + " has no value";
        }
        *field = tokens[i + 1];
        seen.push_back(name);
    }
    options.hasMident = std::find(seen.begin(), seen.end(), "-mident") != seen.end();
    return {};
}

std::string checkFormat(CatalogOptions& options) {
    options.format = upperCase(options.format);
    if (!isKnownFormat(options.format)) {
        return "unknown format '" + options.format + "'";
    }
    return {};
}

}  // namespace

const std::vector<std::string>& exportFormats() {
    static const std::vector<std::string> formats = {
        "IGES", "SAT", "STEP", "XB", "XT", "3DSTUDIOMAX", "COLLADA", "STL", "OBJFILE", "DWG2D"};
    return formats;
}

ParseResult<ScriptHostArguments> parseScriptHostArguments(const std::vector<std::string>& tokens) {
    ParseResult<ScriptHostArguments> result;
    if (tokens.size() < 2 || tokens[1].empty() || tokens[1][0] == '-') {
        result.error = "no start script given";
        return result;
    }
    result.value.scriptPath = tokens[1];
    std::vector<std::string> seen;
    result.error = readOptionPairs(tokens, 2, false, result.value.options, seen);
    if (!result.ok()) {
        return result;
    }
    for (const char* required : {"-cadname", "-path", "-format"}) {
        if (std::find(seen.begin(), seen.end(), required) == seen.end()) {
            result.error = std::string("missing option ") + required;
            return result;
        }
    }
    if (result.value.options.path.empty()) {
        result.error = "option -path is empty";
        return result;
    }
    result.error = checkFormat(result.value.options);
    return result;
}

ParseResult<CatalogOptions> parseViewerArguments(const std::vector<std::string>& tokens) {
    ParseResult<CatalogOptions> result;
    std::vector<std::string> seen;
    result.error = readOptionPairs(tokens, 1, true, result.value, seen);
    if (result.ok() && !result.value.format.empty()) {
        result.error = checkFormat(result.value);
    }
    return result;
}

std::string buildViewerCommandLine(const std::string& viewerPath, const CatalogOptions& options) {
    std::string line = quoteArgument(viewerPath);
    line += " -cadname " + quoteArgument(options.cadName);
    line += " -path " + quoteArgument(options.path);
    line += " -format " + quoteArgument(options.format);
    if (options.hasMident) {
        line += " -mident " + quoteArgument(options.mident);
    }
    line += " -language " + quoteArgument(options.language);
    return line;
}

std::string describeOptions(const CatalogOptions& options) {
    std::string text = "cadname=" + options.cadName + " path=" + options.path +
                       " format=" + options.format;
    text += options.hasMident ? " mident=" + options.mident : " mident=(none)";
    text += " language=" + options.language;
    return text;
}

}  // namespace catalog
