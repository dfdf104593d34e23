// The options the plug-in passes to the script host (and the script host passes on
// to the viewer): reading them from command line tokens, checking them, and writing
// the viewer's own command line.
#pragma once

#include <string>
#include <vector>

namespace catalog {

struct CatalogOptions {
    std::string cadName;
    std::string path;      // where the next take writes the geometry file
    std::string format;    // one of exportFormats(), upper case
    std::string mident;    // part to open; meaningful only when hasMident
    bool hasMident = false;
    std::string language;  // only on the viewer's command line
};

struct ScriptHostArguments {
    std::string scriptPath;
    CatalogOptions options;
};

template <typename T>
struct ParseResult {
    T value;
    std::string error;  // empty on success
    bool ok() const { return error.empty(); }
};

const std::vector<std::string>& exportFormats();

// tokens[0] is the program, tokens[1] the start script, then -name "value" pairs.
// -cadname, -path and -format are required, -mident is optional.
ParseResult<ScriptHostArguments> parseScriptHostArguments(const std::vector<std::string>& tokens);

// tokens[0] is the program, then the same pairs plus -language; all optional, so the
// viewer can also be started by hand.
ParseResult<CatalogOptions> parseViewerArguments(const std::vector<std::string>& tokens);

// "<viewer>" -cadname "..." -path "..." -format "..." [-mident "..."] -language "..."
std::string buildViewerCommandLine(const std::string& viewerPath, const CatalogOptions& options);

// One line for the log: cadname=... path=... format=... mident=... language=...
std::string describeOptions(const CatalogOptions& options);

}  // namespace catalog
