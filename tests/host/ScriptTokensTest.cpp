// How simcad reads a script line: the words a line splits into, and what each word
// gives a command once its quotes are taken off. Quoted Windows paths must keep
// their backslashes; only \", \\ and \n are escapes inside quotes.
#include "Tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct LineCase {
    const char* what;
    std::string line;
    std::vector<std::string> words;  // as a command sees them, unquoted
};

std::vector<std::string> UnquotedWords(const std::string& line)
{
    std::vector<std::string> words;
    for (const std::string& word : simcad::SplitWords(line))
        words.push_back(simcad::Unquote(word));
    return words;
}

std::vector<LineCase> LineCases()
{
    return {
        {"blanks and tabs separate words", "part  add\t7 x=1\r", {"part", "add", "7", "x=1"}},
        {"a quoted stretch keeps its blanks", R"(echo "two  words" three)", {"echo", "two  words", "three"}},
        {"quotes inside a word", R"(part add 7 "bibname=M8 bolt" x)", {"part", "add", "7", "bibname=M8 bolt", "x"}},
        {"a quoted Windows path keeps its backslashes", R"(read "C:\Program Files\x")",
         {"read", R"(C:\Program Files\x)"}},
        {"a backslash before a letter other than n stays", R"(echo "\t\a\U\0\ ")", {"echo", R"(\t\a\U\0\ )"}},
        {"an escaped quote neither ends the stretch nor stays escaped", R"(echo "say \"hi there\"")",
         {"echo", R"(say "hi there")"}},
        {"a doubled backslash gives one", R"(echo "\\\\server\share")", {"echo", R"(\\server\share)"}},
        {"a trailing separator is written doubled", R"(remove "C:\dir\\" x)", {"remove", R"(C:\dir\)", "x"}},
        {"backslash n gives a new line", R"(file f "a\nb\n")", {"file", "f", "a\nb\n"}},
        {"a backslash at the end of an open stretch stays", R"(echo "open\)", {"echo", R"(open\)"}},
        {"unquoted backslashes are never escapes", R"(file C:\x\n "\"")", {"file", R"(C:\x\n)", "\""}},
        {"a word starting with # ends the line", "wait import # after the take", {"wait", "import"}},
        {"# inside a word or quotes is text", R"(echo a#b "# c")", {"echo", "a#b", "# c"}},
        {"an empty quoted word", R"(echo "" x)", {"echo", "", "x"}},
        {"a blank line has no words", " \t ", {}},
    };
}

TEST(ScriptTokens, LinesGiveTheWordsACommandSees)
{
    for (const LineCase& c : LineCases())
        EXPECT_EQ(UnquotedWords(c.line), c.words) << c.what << ": " << c.line;
}

// `expect` tells the text "4711" from the number 4711 by the quotes, so the split
// words keep them, and keep escapes for Unquote.
TEST(ScriptTokens, SplitWordsKeepQuotesAndEscapes)
{
    EXPECT_EQ(simcad::SplitWords(R"(expect x == "4711")"),
              (std::vector<std::string>{"expect", "x", "==", "\"4711\""}));
    EXPECT_EQ(simcad::SplitWords(R"(a "b \" c\\" d)"),
              (std::vector<std::string>{"a", R"("b \" c\\")", "d"}));
}

TEST(ScriptTokens, SubstitutedPathsInQuotesKeepTheirBackslashes)
{
    std::string line = simcad::Substitute(R"(read "${TEMP}\good.geo")", {{"TEMP", R"(C:\users\me\Temp\run 1)"}});
    EXPECT_EQ(UnquotedWords(line), (std::vector<std::string>{"read", R"(C:\users\me\Temp\run 1\good.geo)"}));
}

}  // namespace
