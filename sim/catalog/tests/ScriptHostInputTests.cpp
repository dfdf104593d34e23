// What the script host and the viewer read (command line, options, start script,
// hand-over): the quoting rules and the malformed input refused. The plug-in's own
// line and a hand-over are read on every road script and end-to-end test.
#include "common/CommandLine.h"
#include "common/HandOver.h"
#include "common/Options.h"
#include "common/StartScript.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

using Tokens = std::vector<std::string>;

ParseResult<ScriptHostArguments> parseHostLine(const std::string& line) {
    const auto tokens = tokenizeCommandLine(line);
    EXPECT_TRUE(tokens.ok()) << tokens.error;
    return parseScriptHostArguments(tokens.tokens);
}

TEST(CommandLineTokenizer, SplitsEveryLineIntoItsTokensAndRejectsBrokenOnes) {
    const struct {
        std::string line;
        Tokens tokens;
    } cases[] = {
        {"\"C:\\Cat\\cscripthost.exe\" -path \"C:\\Temp\\out.sat\" -format \"SAT\"",
         {"C:\\Cat\\cscripthost.exe", "-path", "C:\\Temp\\out.sat", "-format", "SAT"}},
        // The mident keeps its blanks and braces, and the trailing blank of one without variables.
        {"a -mident \"{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}\"",
         {"a", "-mident", "{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}"}},
        {"a -mident \"{$iso4032/iso4032.prj},ISO4032 \"", {"a", "-mident", "{$iso4032/iso4032.prj},ISO4032 "}},
        {"  a \t b   c  ", {"a", "b", "c"}},
        {"a \"\" b", {"a", "", "b"}},
        {"\"C:\\Dir\\\" next", {"C:\\Dir\\", "next"}},
        {"ab\"c d\"e", {"abc de"}},
        {"", {}},
    };
    for (const auto& example : cases) {
        const auto result = tokenizeCommandLine(example.line);
        ASSERT_TRUE(result.ok()) << example.line << ": " << result.error;
        EXPECT_EQ(result.tokens, example.tokens) << example.line;
    }
    EXPECT_FALSE(tokenizeCommandLine("a -path \"C:\\Temp\\x.sat").ok());
    EXPECT_FALSE(tokenizeCommandLine("a\r\nb").ok());
}

TEST(ScriptHostOptions, ReadsEveryExportFormatInUpperCase) {
    for (const auto& format : exportFormats()) {
        const auto result = parseHostLine("h s -cadname C -path p -format " + format);
        EXPECT_TRUE(result.ok()) << format << ": " << result.error;
        EXPECT_EQ(result.value.options.format, format);
    }
    EXPECT_EQ(parseHostLine("h s -cadname C -path p -format step").value.options.format, "STEP");
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
    for (const char* line : lines) EXPECT_FALSE(parseHostLine(line).ok()) << line;
}

// The viewer falls back to its environment's language, so only here is it seen
// whether the script host passes its own on.
TEST(ViewerOptions, AllowsAStartWithoutOptionsAndTakesTheScriptHostsLanguage) {
    const auto bare = parseViewerArguments({"pvestra.exe"});
    ASSERT_TRUE(bare.ok()) << bare.error;
    EXPECT_TRUE(bare.value.path.empty());
    EXPECT_FALSE(bare.value.hasMident);
    EXPECT_FALSE(parseViewerArguments({"pvestra.exe", "-bogus", "x"}).ok());

    CatalogOptions options;
    options.path = "p";
    options.language = "german";
    const auto tokens = tokenizeCommandLine(buildViewerCommandLine("C:\\Cat\\pvestra.exe", options));
    ASSERT_TRUE(tokens.ok()) << tokens.error;
    EXPECT_EQ(parseViewerArguments(tokens.tokens).value.language, "german");
}

TEST(StartScript, FindsTheViewerLineBetweenCommentsOrFails) {
    const auto script = parseStartScript("' viewer=wrong.exe\r\n# another\r\n\r\n  viewer= bin\\pvestra.exe \r\n");
    ASSERT_TRUE(script.ok()) << script.error;
    EXPECT_EQ(script.viewerPath, "bin\\pvestra.exe");
    EXPECT_FALSE(parseStartScript("' nothing here\n").ok());
    EXPECT_FALSE(parseStartScript("viewer=\n").ok());
}

TEST(HandOver, KnowsWhenThereIsNoMidentAndRefusesGarbage) {
    CatalogOptions options;
    options.path = "p";
    const auto decoded = decodeHandOver(encodeHandOver(options));
    ASSERT_TRUE(decoded.ok()) << decoded.error;
    EXPECT_FALSE(decoded.value.hasMident);
    for (const char* text : {"path=p\nnonsense\n", "path=p\ncolour=red\n", "format=SAT\n"}) {
        EXPECT_FALSE(decodeHandOver(text).ok()) << text;
    }
}

}  // namespace
}  // namespace catalog
