// The export record parser: each case is a record text and the three lists it
// must give, written as "name=value" pairs and pieces joined by "|".
#include "HostTest.h"

#include "MERIDAX_plugin.h"

#include <regex>

namespace {

using namespace std::string_literals;

struct RecordCase {
    const char* name;
    std::string text;
    std::string attributes;  // "DN=10|X=1"
    const char* pieces;      // "abc|x"
    const char* variables;   // "L=20|D=10"
};

std::string Pairs(const NameValueList& pairs)
{
    std::string text;
    for (const auto& [name, value] : pairs)
        text += (text.empty() ? "" : "|") + name.string() + "=" + value.string();
    return text;
}

std::string Pieces(const std::vector<UtCString>& pieces)
{
    std::string text;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        text += (i ? "|" : "") + pieces[i].string();
    return text;
}

class ExportRecord : public HostTest {
protected:
    void Parse(const std::string& text)
    {
        WriteFile(Temp() / "record.txt", text);
        plugin.recordFile = Native(Temp() / "record.txt");
        plugin.ParseExportRecord();
    }
    MERIDAX_plugin plugin{"C:\\Cat", 1, 0};
};

const RecordCase cases[] = {
    {"catalog record", "[Attributes]\nDN=10\nNAME=Bolt M8\n[MIDENT]\nMIDENT={$iso/a.prj},ISO4017 {D=8},{L=40}\n",
     "DN=10|NAME=Bolt M8", "iso/a.prj|ISO4017", "D=8|L=40"},
    {"sections in the other order", "[MIDENT]\nMIDENT={$p},t {A=1}\n[Attributes]\nX=1\n", "X=1", "p|t", "A=1"},
    {"only the identifier", "[MIDENT]\nMIDENT={$p},t\n", "", "p|t", ""},
    {"repeated sections", "[Attributes]\nA=1\n[MIDENT]\nMIDENT={$p}\n[Attributes]\nB=2\n", "A=1|B=2", "p", ""},
    {"first duplicate wins", "[Attributes]\nDN=10\nDN=12\n", "DN=10", "", ""},
    {"value with equals signs", "[Attributes]\nF=a=b\n", "F=a=b", "", ""},
    {"no equals sign and empty lines", "[Attributes]\nplain\n\nother\n", "=plain", "", ""},
    {"lines before any header", "A=1\n[MIDENT]\nMIDENT={$p}\n", "", "p", ""},
    {"unknown header belongs to the section", "[Attributes]\n[Other]\n", "=[Other]", "", ""},
    {"headers are exact lines", "[attributes]\n [MIDENT]\nA=1\n", "", "", ""},
    {"project, piece field and variables", "[MIDENT]\nMIDENT={$abc/def.prj},{K=1} {L=20},{D=10}\n", "",
     "abc/def.prj|{K=1}", "L=20|D=10"},
    {"empty tail", "[MIDENT]\nMIDENT={$abc},\n", "", "abc|", ""},
    {"fields", "[MIDENT]\nMIDENT={$p},t {A=B=C},{A=1}},{xyz}, {B=1},{C=1} ,{A{B}=1}\n", "",
     "p|t|xyz}", "A=B=C|A=1}"},
    {"a second blank is no separator", "[MIDENT]\nMIDENT={$p},t {A=1} {B=2}\n", "", "p|t", ""},
    {"empty identifier and blank line", "[MIDENT]\nMIDENT=\n\n", "", "", ""},
    {"pieces continue across lines", "[MIDENT]\nMIDENT={$p},t\nMIDENT={$q},u {V=1}\n", "", "p|t|q|u", "V=1"},
    {"two characters after the equals sign", "[MIDENT]\nMIDENT={$\n", "", "", ""},
    {"fewer characters after the equals sign", "[MIDENT]\nMIDENT={\nX=,y\n", "", "||y", ""},
    {"CR LF line ends", "[Attributes]\r\nA=1\r\n[MIDENT]\r\nMIDENT={$p},t {L=2}\r\n", "A=1", "p|t", "L=2"},
    {"last line without line end", "[Attributes]\nA=1\nB=2", "A=1|B=2", "", ""},
    {"bytes above 127 kept", "[Attributes]\nMAT=St\xe4hl \xb5m\n", "MAT=St\xe4hl \xb5m", "", ""},
    {"NUL bytes stay in their line", "[Attri\0x\nbutes]\n[Attributes]\nA=1\0hidden\nB=2\n"s,
     "A=1\0hidden|B=2"s, "", ""},
};

TEST_F(ExportRecord, ParsesEveryCaseIntoTheThreeLists)
{
    for (const RecordCase& c : cases) {
        Parse(c.text);
        EXPECT_EQ(Pairs(plugin.recordAttributes), c.attributes) << c.name;
        EXPECT_EQ(Pieces(plugin.identPieces), c.pieces) << c.name;
        EXPECT_EQ(Pairs(plugin.identVariables), c.variables) << c.name;
    }
}

// CR LF lines up to byte `at`, where the line "LAST=..." is cut by a Ctrl-Z, then
// lines that text mode must never show.
std::string RecordCutByCtrlZAt(std::size_t at)
{
    std::string text = "[Attributes]\r\n";
    for (int i = 0; text.size() + 100 < at; ++i)
        text += "A" + std::to_string(i) + "=" + std::string(90, 'x') + "\r\n";
    text += "LAST=" + std::string(at - text.size(), 'x') + "\x1a";
    for (int i = 0; i < 20000; ++i)
        text += "B" + std::to_string(i) + "=1\r\n";
    return text;
}

// Text mode ends a file at its first Ctrl-Z, also far into a large file, where the
// runtime reads it in many buffers and the Ctrl-Z may stand anywhere in one.
TEST_F(ExportRecord, TextModeEndsAtTheFirstCtrlZWhereverItStands)
{
    std::vector<std::size_t> positions = {120, 5000};
    for (std::size_t at = 65536; at < 65536 + 8192; at += 397)
        positions.push_back(at);
    for (std::size_t at : positions) {
        Parse(RecordCutByCtrlZAt(at));
        ASSERT_FALSE(plugin.recordAttributes.empty()) << at;
        EXPECT_EQ(plugin.recordAttributes.back().first.string(), "LAST") << at;
    }
}

// The runtime refills its 4 KiB buffer between the CR and the LF of a line end for
// one of these offsets; the pair must still read as one LF, and a lone CR as itself.
TEST_F(ExportRecord, LineEndsSplitByTheRuntimesBufferStayOneLineEnd)
{
    for (std::size_t offset = 4080; offset < 4112; ++offset) {
        std::string head = "[Attributes]\nA=";
        Parse(head + std::string(offset - head.size(), 'x') + "\r\nB=\r2\r\n");
        ASSERT_EQ(plugin.recordAttributes.size(), 2u) << offset;
        EXPECT_EQ(plugin.recordAttributes[0].second.length(), offset - head.size()) << offset;
        EXPECT_EQ(plugin.recordAttributes[1].second.string(), "\r2") << offset;
    }
}

// The catalog may still hold its record open; a record gone gives empty lists.
TEST_F(ExportRecord, ReadsARecordStillHeldOpenAndNoneOfOneGone)
{
    WriteFile(Temp() / "record.txt", "[Attributes]\nA=1\n[MIDENT]\nMIDENT={$p},t {L=1}\n");
    HANDLE held = CreateFileW((Temp() / "record.txt").wstring().c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    plugin.recordFile = Native(Temp() / "record.txt");
    plugin.ParseExportRecord();
    CloseHandle(held);
    EXPECT_EQ(Pairs(plugin.recordAttributes) + " " + Pieces(plugin.identPieces), "A=1 p|t");
    plugin.recordFile = Native(Temp() / "missing.txt");
    plugin.ParseExportRecord();
    EXPECT_TRUE(plugin.recordAttributes.empty());
    EXPECT_TRUE(plugin.identPieces.empty());
    EXPECT_TRUE(plugin.identVariables.empty());
}

TEST_F(ExportRecord, LongLinesAndFieldsAreReadWhole)
{
    std::string value(100000, 'v');
    std::string digits(20000, '9');
    std::string fields = "{L=" + digits + "}}," + "{" + digits + "}," + "{A{" + digits + "}," +
                         "{" + digits + "," + "{B=" + digits + "} ";
    Parse("[Attributes]\nLONG=" + value + "\n[MIDENT]\nMIDENT={$p},t " + fields + "\n");
    ASSERT_EQ(plugin.recordAttributes.size(), 1u);
    EXPECT_EQ(plugin.recordAttributes[0].second.length(), value.size());
    ASSERT_EQ(plugin.identVariables.size(), 1u);
    EXPECT_EQ(plugin.identVariables[0].second.string(), digits + "}");
    ASSERT_EQ(plugin.identPieces.size(), 3u);
    EXPECT_EQ(plugin.identPieces[2].string(), digits + "}");
}

// Enough names to make the table of names taken grow many times, each name then
// repeated with another value, and names that differ only after a NUL or in length.
TEST_F(ExportRecord, ManyNamesKeepTheFirstLineOfEach)
{
    const int names = 50000;
    std::string text = "[Attributes]\n";
    std::string expected;
    for (int i = 0; i < names; ++i) {
        text += "N" + std::to_string(i) + "=first\n";
        expected += (i ? "|N" : "N") + std::to_string(i) + "=first";
    }
    for (int i = names - 1; i >= 0; --i)
        text += "N" + std::to_string(i) + "=second\n";
    text += "N1\0=nul\nN1\0=again\nN=short\nN10=late\n"s;
    expected += "|N1\0=nul|N=short"s;
    Parse(text);
    ASSERT_EQ(plugin.recordAttributes.size(), std::size_t(names) + 2);
    EXPECT_EQ(Pairs(plugin.recordAttributes), expected);
}

// Every field of up to five characters drawn from braces, "=", a letter, a blank, a
// NUL, a byte above 127 and a lone CR is taken exactly when the regular expression
// that defines a variable field matches it, and taken apart as the rules say.
TEST_F(ExportRecord, VariableFieldsAreTheOnesTheRegularExpressionMatches)
{
    const std::string alphabet("{}=x \0\xe4\r", 8);
    std::vector<std::string> fields = {""};
    for (std::size_t from = 0, length = 1; length <= 5; ++length) {
        std::size_t to = fields.size();
        for (std::size_t i = from; i < to; ++i)
            for (char c : alphabet)
                fields.push_back(fields[i] + c);
        from = to;
    }
    const std::regex definition("^\\{[^{}]*\\}+$", std::regex::ECMAScript);
    std::string line = "MIDENT={$p},t ";
    std::string pieces = "p|t";
    std::string variables;
    for (const std::string& field : fields) {
        line += field + ",";
        if (!std::regex_match(field, definition))
            continue;
        std::size_t equals = field.find('=');
        if (equals == std::string::npos)
            pieces += "|" + field.substr(1);
        else
            variables += (variables.empty() ? "" : "|") + field.substr(1, equals - 1) + "=" +
                         field.substr(equals + 1, field.size() - equals - 2);
    }
    ASSERT_EQ(fields.size(), 37449u);
    ASSERT_NE(pieces, "p|t");  // the alphabet reaches both kinds of matching field
    ASSERT_FALSE(variables.empty());
    Parse("[MIDENT]\n" + line + "\n");
    EXPECT_EQ(Pieces(plugin.identPieces), pieces);
    EXPECT_EQ(Pairs(plugin.identVariables), variables);
}

}  // namespace
