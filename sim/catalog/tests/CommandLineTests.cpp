// Tokenizer tests: the plug-in's exact command line, byte for byte, the quoting
// rules, and broken lines.
#include "common/CommandLine.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

using Tokens = std::vector<std::string>;

const std::string kPluginLine =
    "\"C:\\Cat\\bin\\x86\\64\\cscripthost.exe\" "
    "\"C:\\Cat\\setup\\scripts\\common\\startvestra_tarnvel.vbb\" -cadname \"BRENVIKCAD\" "
    "-path \"C:\\Temp\\tarnvel_output_4242.sat\" -format \"SAT\"";
const Tokens kPluginTokens = {"C:\\Cat\\bin\\x86\\64\\cscripthost.exe",
                              "C:\\Cat\\setup\\scripts\\common\\startvestra_tarnvel.vbb",
                              "-cadname", "BRENVIKCAD", "-path", "C:\\Temp\\tarnvel_output_4242.sat",
                              "-format", "SAT"};

Tokens plus(Tokens tokens, const Tokens& more) {
    tokens.insert(tokens.end(), more.begin(), more.end());
    return tokens;
}

TEST(CommandLineTokenizer, SplitsEveryLineIntoItsTokens) {
    const struct {
        std::string line;
        Tokens tokens;
    } cases[] = {
        {kPluginLine, kPluginTokens},
        // The mident keeps its blanks and braces, and the trailing blank of one without variables.
        {kPluginLine + " -mident \"{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}\"",
         plus(kPluginTokens, {"-mident", "{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}"})},
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
}

TEST(CommandLineTokenizer, RejectsAnUnterminatedQuoteAndALineBreak) {
    EXPECT_FALSE(tokenizeCommandLine("a -path \"C:\\Temp\\x.sat").ok());
    EXPECT_FALSE(tokenizeCommandLine("a\r\nb").ok());
}

}  // namespace
}  // namespace catalog
