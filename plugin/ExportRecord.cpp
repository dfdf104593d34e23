// Reads the export record that the catalog writes beside each exported part: the
// "[Attributes]" section's name=value lines and the "[MIDENT]" section's model
// identifier lines, into the plug-in object's three record lists.
#include "MERIDAX_plugin.h"
#include "TakenNames.h"

#include <share.h>
#include <stdio.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace {

enum class Section { None, Attributes, ModelIdent };

struct FileCloser {
    // The file is only read: a failed close loses nothing.
    void operator()(FILE* file) const noexcept { static_cast<void>(std::fclose(file)); }
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

// A variable field of a model identifier: "{", anything but braces, then one or
// more "}" up to the end; the same fields as the regular expression ^\{[^{}]*\}+$.
// Scanned, because the standard library's matcher costs some hundred nanoseconds
// per field however short (a line of empty fields read more than ten times slower
// per byte than a catalog record) and recurses once per character.
bool IsIdentifierField(std::string_view field)
{
    std::size_t lastOther = field.find_last_not_of('}');
    if (field.size() < 2 || field[0] != '{' || lastOther == std::string_view::npos ||
        lastOther == field.size() - 1)
        return false;
    return field.find_first_of("{}", 1) == lastOther + 1;
}

// The text from `first` up to, not including, `end`; empty when that is no text.
std::string Between(std::string_view text, std::size_t first, std::size_t end)
{
    return first < end ? std::string(text.substr(first, end - first)) : std::string();
}

}  // namespace

// Takes one "[MIDENT]" line apart: the project reference (after "={$" up to the
// first field's last character), the rest of the identifier up to the first blank,
// then the comma-separated variable fields.
void MERIDAX_plugin::AddModelIdentifier(const std::string& text)
{
    std::string_view line = text;
    std::size_t comma = line.find(',');
    std::string_view firstField = line.substr(0, comma);
    std::size_t equals = firstField.find('=');
    if (equals != std::string_view::npos)
        identPieces.emplace_back(Between(firstField, equals + 3, firstField.size() - 1));
    if (comma == std::string_view::npos)
        return;

    std::size_t blank = line.find(' ', comma + 1);
    identPieces.emplace_back(Between(line, comma + 1, blank == std::string_view::npos ? line.size() : blank));
    if (blank == std::string_view::npos)
        return;

    std::size_t start = blank + 1;
    for (;;) {
        std::size_t end = line.find(',', start);
        std::string_view field = line.substr(start, end == std::string_view::npos ? end : end - start);
        if (IsIdentifierField(field)) {
            std::size_t fieldEquals = field.find('=');
            if (fieldEquals == std::string_view::npos)
                identPieces.emplace_back(std::string(field.substr(1)));
            else
                identVariables.emplace_back(Between(field, 1, fieldEquals),
                                            Between(field, fieldEquals + 1, field.size() - 1));
        }
        if (end == std::string_view::npos)
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
    TakenNames takenNames(recordAttributes);
    while (reader.ReadLine(line)) {
        if (line == "[Attributes]") {
            section = Section::Attributes;
        } else if (line == "[MIDENT]") {
            section = Section::ModelIdent;
        } else if (section == Section::Attributes) {
            std::size_t equals = line.find('=');
            UtCString name = equals == std::string::npos ? std::string() : line.substr(0, equals);
            if (takenNames.Take(name, recordAttributes.size()))
                recordAttributes.emplace_back(std::move(name),
                                              equals == std::string::npos ? line : line.substr(equals + 1));
        } else if (section == Section::ModelIdent && line != "MIDENT=") {
            AddModelIdentifier(line);
        }
    }
}
