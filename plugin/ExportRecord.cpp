// Reads the export record that the catalog writes beside each exported part: the
// "[Attributes]" section's name=value lines and the "[MIDENT]" section's model
// identifier lines, into the plug-in object's three record lists.
#include "MERIDAX_plugin.h"

#include <share.h>
#include <stdio.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <numeric>
#include <regex>
#include <string>
#include <vector>

namespace {

enum class Section { None, Attributes, ModelIdent };

struct FileCloser {
    void operator()(FILE* file) const noexcept { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;

// Reads a text-mode file line by line, a byte at a time from the C runtime's own
// buffer. Lines may hold any byte, NUL included: a record's bytes are taken as they
// stand. The first end of file is final: a Ctrl-Z ends a text-mode file, and one
// runtime reads on behind it when asked again, so nothing is read after it. Block
// reads (fread) are not used for the same reason: that runtime skips the Ctrl-Z
// inside a block read and goes on with the bytes behind it.
class LineReader {
public:
    explicit LineReader(FILE* file) : file_(file) {}

    // One line without its LF; false at the end of the file or at a read error.
    bool ReadLine(std::string& line)
    {
        line.clear();
        while (!ended_) {
            int byte = _getc_nolock(file_);
            if (byte == EOF)
                ended_ = true;
            else if (byte == '\n')
                return true;
            else
                line.push_back(static_cast<char>(byte));
        }
        return !line.empty();
    }

private:
    FILE* file_;  // read by this reader alone, so the runtime's lock is left out
    bool ended_ = false;
};

// The standard library's regular expression matcher recurses once per character,
// so a field of some ten thousand characters would overflow the stack. Longer
// fields than this are matched by the equivalent scan below.
constexpr std::size_t LONGEST_FIELD_FOR_REGEX = 1000;

// "{", then no brace up to a closing run of one or more "}" at the end.
bool ScanIdentifierField(const std::string& field)
{
    std::size_t closing = field.find_last_not_of('}');
    if (field.size() < 2 || field[0] != '{' || closing == std::string::npos ||
        closing == field.size() - 1)
        return false;
    return field.find_first_of("{}", 1) == closing + 1;
}

// A variable field of a model identifier: "{", anything but braces, then one or
// more "}".
bool IsIdentifierField(const std::string& field)
{
    static const std::regex pattern("^\\{[^{}]*\\}+$", std::regex::ECMAScript);
    if (field.size() > LONGEST_FIELD_FOR_REGEX)
        return ScanIdentifierField(field);
    return std::regex_match(field, pattern);
}

// The text from `first` up to, not including, `end`; empty when that is no text.
std::string Between(const std::string& text, std::size_t first, std::size_t end)
{
    return first < end ? text.substr(first, end - first) : std::string();
}

// Keeps the first pair of each name, in file order. Done once after reading, by
// sorting positions, because a set of the names seen so far costs an allocation
// per line and made large records several times slower to read.
void KeepFirstOfEachName(NameValueList& pairs)
{
    std::vector<std::size_t> order(pairs.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return pairs[a].first < pairs[b].first; });
    std::vector<bool> keep(pairs.size(), false);
    for (std::size_t i = 0; i < order.size(); ++i)
        keep[order[i]] = i == 0 || pairs[order[i]].first != pairs[order[i - 1]].first;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (!keep[i])
            continue;
        if (kept != i)
            pairs[kept] = std::move(pairs[i]);
        ++kept;
    }
    pairs.resize(kept);
}

}  // namespace

// Takes one "[MIDENT]" line apart: the project reference (after "={$" up to the
// first field's last character), the rest of the identifier up to the first blank,
// then the comma-separated variable fields.
void MERIDAX_plugin::AddModelIdentifier(const std::string& line)
{
    std::size_t comma = line.find(',');
    std::string firstField = line.substr(0, comma);
    std::size_t equals = firstField.find('=');
    if (equals != std::string::npos)
        identPieces.emplace_back(Between(firstField, equals + 3, firstField.size() - 1));
    if (comma == std::string::npos)
        return;

    std::size_t blank = line.find(' ', comma + 1);
    identPieces.emplace_back(Between(line, comma + 1, blank == std::string::npos ? line.size() : blank));
    if (blank == std::string::npos)
        return;

    std::size_t start = blank + 1;
    for (;;) {
        std::size_t end = line.find(',', start);
        std::string field = line.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (IsIdentifierField(field)) {
            std::size_t fieldEquals = field.find('=');
            if (fieldEquals == std::string::npos)
                identPieces.emplace_back(field.substr(1));
            else
                identVariables.emplace_back(Between(field, 1, fieldEquals),
                                            Between(field, fieldEquals + 1, field.size() - 1));
        }
        if (end == std::string::npos)
            return;
        start = end + 1;
    }
}

void MERIDAX_plugin::ParseExportRecord()
{
    recordAttributes.clear();
    identPieces.clear();
    identVariables.clear();

    UniqueFile file(_wfsopen(recordFile.ustring().c_str(), L"rt", _SH_DENYNO));
    if (!file)
        return;

    Section section = Section::None;
    LineReader reader(file.get());
    std::string line;
    while (reader.ReadLine(line)) {
        if (line == "[Attributes]") {
            section = Section::Attributes;
        } else if (line == "[MIDENT]") {
            section = Section::ModelIdent;
        } else if (section == Section::Attributes) {
            std::size_t equals = line.find('=');
            std::string name = equals == std::string::npos ? std::string() : line.substr(0, equals);
            std::string value = equals == std::string::npos ? line : line.substr(equals + 1);
            recordAttributes.emplace_back(name, value);
        } else if (section == Section::ModelIdent && line != "MIDENT=") {
            AddModelIdentifier(line);
        }
    }
    KeepFirstOfEachName(recordAttributes);
}
