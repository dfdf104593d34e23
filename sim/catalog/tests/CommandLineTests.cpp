// Tokenizer tests: the plug-in's exact command line, byte for byte, and broken lines.
#include "common/CommandLine.h"

#include <gtest/gtest.h>

namespace catalog {
namespace {

const std::string kPluginLine =
    "\"C:\\Cat\\bin\\x86\\64\\cscripthost.exe\" "
    "\"C:\\Cat\\setup\\scripts\\common\\startvestra_tarnvel.vbb\" -cadname \"BRENVIKCAD\" "
    "-path \"C:\\Temp\\tarnvel_output_4242.sat\" -format \"SAT\"";

TEST(CommandLineTokenizer, SplitsThePluginLineIntoItsArguments) {
    const auto result = tokenizeCommandLine(kPluginLine);
    ASSERT_TRUE(result.ok()) << result.error;
    const std::vector<std::string> expected = {
        "C:\\Cat\\bin\\x86\\64\\cscripthost.exe",
        "C:\\Cat\\setup\\scripts\\common\\startvestra_tarnvel.vbb",
        "-cadname", "BRENVIKCAD", "-path", "C:\\Temp\\tarnvel_output_4242.sat", "-format", "SAT"};
    EXPECT_EQ(result.tokens, expected);
}

TEST(CommandLineTokenizer, KeepsBlanksAndBracesOfAQuotedMident) {
    const auto result = tokenizeCommandLine(
        kPluginLine + " -mident \"{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}\"");
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.tokens.size(), 10u);
    EXPECT_EQ(result.tokens[8], "-mident");
    EXPECT_EQ(result.tokens[9], "{$iso4017/iso4017.prj},ISO4017  {D=8},{L=40}");
}

TEST(CommandLineTokenizer, KeepsTheTrailingBlankOfAMidentWithoutVariables) {
    const auto result = tokenizeCommandLine("a -mident \"{$iso4032/iso4032.prj},ISO4032 \"");
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.tokens.size(), 3u);
    EXPECT_EQ(result.tokens[2], "{$iso4032/iso4032.prj},ISO4032 ");
}

TEST(CommandLineTokenizer, TreatsRunsOfBlanksAndTabsAsOneSeparator) {
    const auto result = tokenizeCommandLine("  a \t b   c  ");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.tokens, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(CommandLineTokenizer, GivesAnEmptyTokenForEmptyQuotes) {
    const auto result = tokenizeCommandLine("a \"\" b");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.tokens, (std::vector<std::string>{"a", "", "b"}));
}

TEST(CommandLineTokenizer, KeepsATrailingBackslashInsideQuotes) {
    const auto result = tokenizeCommandLine("\"C:\\Dir\\\" next");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.tokens, (std::vector<std::string>{"C:\\Dir\\", "next"}));
}

TEST(CommandLineTokenizer, JoinsQuotedAndUnquotedPartsOfOneToken) {
    const auto result = tokenizeCommandLine("ab\"c d\"e");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.tokens, (std::vector<std::string>{"abc de"}));
}

TEST(CommandLineTokenizer, RejectsAnUnterminatedQuote) {
    EXPECT_FALSE(tokenizeCommandLine("a -path \"C:\\Temp\\x.sat").ok());
}

TEST(CommandLineTokenizer, RejectsALineBreak) {
    EXPECT_FALSE(tokenizeCommandLine("a\r\nb").ok());
}

TEST(CommandLineTokenizer, GivesNoTokensForAnEmptyLine) {
    const auto result = tokenizeCommandLine("");
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.tokens.empty());
}

}  // namespace
}  // namespace catalog
