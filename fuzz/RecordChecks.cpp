// See RecordChecks.h.
#include "RecordChecks.h"

#include "TextModeLines.h"

#include <chrono>
#include <set>

namespace {

bool SameRecord(const ParsedRecord& a, const ParsedRecord& b)
{
    return a.attributes == b.attributes && a.pieces == b.pieces && a.variables == b.variables;
}

std::string DuplicateName(const NameValueList& attributes)
{
    std::set<std::string> names;
    for (const auto& attribute : attributes)
        if (!names.insert(attribute.first.string()).second)
            return attribute.first.string();
    return {};
}

// What the attribute sections hold, read from the reference lines: a name up to
// the first "=", the rest as value (the whole line without "="), first name wins.
NameValueList ReferenceAttributes(const std::vector<std::string>& lines, bool& sawHeader)
{
    NameValueList attributes;
    std::set<std::string> names;
    bool inAttributes = false;
    sawHeader = false;
    for (const std::string& line : lines) {
        if (line == "[Attributes]" || line == "[MIDENT]") {
            inAttributes = line == "[Attributes]";
            sawHeader = sawHeader || inAttributes;
            continue;
        }
        if (!inAttributes)
            continue;
        std::size_t equals = line.find('=');
        std::string name = equals == std::string::npos ? std::string() : line.substr(0, equals);
        std::string value = equals == std::string::npos ? line : line.substr(equals + 1);
        if (names.insert(name).second)
            attributes.emplace_back(name, value);
    }
    return attributes;
}

// Control bytes and bytes above 127 as \xNN, so that a message stays one line
// of printable text.
std::string Printable(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (char c : bytes) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte >= 32 && byte < 127 && byte != '\\')
            text += c;
        else
            text += std::string("\\x") + digits[byte >> 4] + digits[byte & 15];
    }
    return text;
}

std::string Shown(const NameValueList& attributes)
{
    std::string text;
    for (const auto& [name, value] : attributes) {
        text += text.empty() ? "" : " | ";
        text += Printable(name.string().substr(0, 40)) + "=" + Printable(value.string().substr(0, 40));
        if (text.size() > 300)
            return text + " ...";
    }
    return text;
}

}  // namespace

RecordChecker::RecordChecker(MERIDAX_plugin& plugin, const std::wstring& recordPath)
    : plugin_(plugin)
{
    plugin_.recordFile = UtCString(recordPath);
}

ParsedRecord RecordChecker::ParseOnce(double& seconds)
{
    auto start = std::chrono::steady_clock::now();
    plugin_.ParseExportRecord();
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return {plugin_.recordAttributes, plugin_.identPieces, plugin_.identVariables};
}

RecordCheckResult RecordChecker::Check(const std::string& input, ParsedRecord& parsed)
{
    RecordCheckResult result;
    double secondRun = 0;
    parsed = ParseOnce(result.parseSeconds);
    ParsedRecord again = ParseOnce(secondRun);
    if (secondRun > result.parseSeconds)
        result.parseSeconds = secondRun;

    if (!SameRecord(parsed, again)) {
        result.failure = "parsing the same file twice gave different lists";
        return result;
    }
    std::string duplicate = DuplicateName(parsed.attributes);
    if (!duplicate.empty()) {
        result.failure = "attribute name '" + duplicate + "' appears twice";
        return result;
    }

    std::vector<std::string> lines = TextModeLines(input);
    bool sawHeader = false;
    NameValueList expected = ReferenceAttributes(lines, sawHeader);
    if (!sawHeader && !parsed.attributes.empty())
        result.failure = "attributes without an [Attributes] line: " + Shown(parsed.attributes);
    else if (expected != parsed.attributes)
        result.failure = "attributes differ from the file's lines: got {" + Shown(parsed.attributes) +
                         "}, the lines hold {" + Shown(expected) + "}";
    return result;
}
