// Option parsing tests: the plug-in's line with and without -mident, and every kind
// of malformed line the script host must refuse.
#include "common/CommandLine.h"
#include "common/Options.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

const std::string kPluginLine =
    "\"C:\\Cat\\bin\\x86\\64\\cscripthost.exe\" "
    "\"C:\\Cat\\setup\\scripts\\common\\startvestra_tarnvel.vbb\" -cadname \"BRENVIKCAD\" "
    "-path \"C:\\Temp\\tarnvel_output_4242.sat\" -format \"SAT\"";

ParseResult<ScriptHostArguments> parseHostLine(const std::string& line) {
    const auto tokens = tokenizeCommandLine(line);
    EXPECT_TRUE(tokens.ok()) << tokens.error;
    return parseScriptHostArguments(tokens.tokens);
}

TEST(ScriptHostOptions, ReadsThePluginLine) {
    const auto result = parseHostLine(kPluginLine);
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.value.scriptPath, "C:\\Cat\\setup\\scripts\\common\\startvestra_tarnvel.vbb");
    EXPECT_EQ(result.value.options.cadName, "BRENVIKCAD");
    EXPECT_EQ(result.value.options.path, "C:\\Temp\\tarnvel_output_4242.sat");
    EXPECT_EQ(result.value.options.format, "SAT");
    EXPECT_FALSE(result.value.options.hasMident);
}

TEST(ScriptHostOptions, ReadsTheMidentUnchanged) {
    const auto result =
        parseHostLine(kPluginLine + " -mident \"{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}\"");
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_TRUE(result.value.options.hasMident);
    EXPECT_EQ(result.value.options.mident, "{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}");
}

TEST(ScriptHostOptions, AcceptsEveryExportFormat) {
    for (const auto& format : exportFormats()) {
        const auto result = parseHostLine("h s -cadname C -path p -format " + format);
        EXPECT_TRUE(result.ok()) << format << ": " << result.error;
        EXPECT_EQ(result.value.options.format, format);
    }
}

TEST(ScriptHostOptions, UpperCasesTheFormat) {
    const auto result = parseHostLine("h s -cadname C -path p -format step");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.value.options.format, "STEP");
}

TEST(ScriptHostOptions, RefusesMalformedLines) {
    const char* lines[] = {
        "h",                                                    // no start script
        "h -cadname C -path p -format SAT",                     // option where the script belongs
        "h s -path p -format SAT",                              // -cadname missing
        "h s -cadname C -format SAT",                           // -path missing
        "h s -cadname C -path p",                               // -format missing
        "h s -cadname C -path p -format DXF",                   // unknown format
        "h s -cadname C -path p -format SAT -colour red",       // unknown option
        "h s -cadname C -path p -format SAT -mident",           // option without value
        "h s -cadname -path p -format SAT",                     // value missing, next option follows
        "h s -cadname C -path p -format SAT -path q",           // option twice
        "h s -cadname C -path \"\" -format SAT",                // empty path
        "h s -cadname C -path p -format SAT -language german",  // not the host's option
    };
    for (const char* line : lines) {
        EXPECT_FALSE(parseHostLine(line).ok()) << line;
    }
}

TEST(ViewerOptions, ReadsTheLineTheScriptHostBuilds) {
    CatalogOptions options;
    options.cadName = "BRENVIKCAD";
    options.path = "C:\\Temp\\out put.sat";
    options.format = "SAT";
    options.mident = "{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}";
    options.hasMident = true;
    options.language = "german";

    const auto tokens = tokenizeCommandLine(buildViewerCommandLine("C:\\Cat\\pvestra.exe", options));
    ASSERT_TRUE(tokens.ok());
    EXPECT_EQ(tokens.tokens[0], "C:\\Cat\\pvestra.exe");
    const auto parsed = parseViewerArguments(tokens.tokens);
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.value.cadName, options.cadName);
    EXPECT_EQ(parsed.value.path, options.path);
    EXPECT_EQ(parsed.value.format, options.format);
    EXPECT_EQ(parsed.value.mident, options.mident);
    EXPECT_TRUE(parsed.value.hasMident);
    EXPECT_EQ(parsed.value.language, "german");
}

TEST(ViewerOptions, AllowsAStartWithoutOptions) {
    const auto parsed = parseViewerArguments({"pvestra.exe"});
    ASSERT_TRUE(parsed.ok());
    EXPECT_TRUE(parsed.value.path.empty());
    EXPECT_FALSE(parsed.value.hasMident);
}

TEST(ViewerOptions, RefusesUnknownOptions) {
    EXPECT_FALSE(parseViewerArguments({"pvestra.exe", "-bogus", "x"}).ok());
}

}  // namespace
}  // namespace catalog
