// simcad's parts list of the drawing: `bom` prints it as an aligned table after
// its result line, `bom --csv FILE` writes it to FILE as CSV instead.
// The result counts positions and parts, e.g. "3 positions, 4 parts".
#include "Script.h"

#include "DrawingParts.h"
#include "OutputFile.h"
#include "PartsList.h"
#include "Tokens.h"

namespace simcad {

namespace {

std::string Counted(std::size_t count, const std::string& singular, const std::string& plural)
{
    return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

std::string Summary(const PartsList& list)
{
    return Counted(list.positions.size(), "position", "positions") + ", " +
           Counted(list.PartCount(), "part", "parts");
}

CommandResult bom(Script&, const Words& words)
{
    bool toCsv = words.size() == 3 && words[1] == "--csv";
    if (words.size() != 1 && !toCsv)
        return CommandResult::Error("usage: bom [--csv FILE]");
    PartsList list = MakePartsList(CurrentDrawingParts());
    Table table = PartsListTable(list);
    if (!toCsv) {
        CommandResult result = CommandResult::Ok(Summary(list));
        result.lines = AlignedLines(table);
        return result;
    }
    std::string path = Unquote(words[2]);
    std::string error;
    if (!WriteWholeFile(path, CsvText(table), error))
        return CommandResult::Error(error);
    return CommandResult::Ok(Summary(list) + "; wrote " + path);
}

}  // namespace

void AddPartsListCommands(std::map<std::string, Command>& commands)
{
    commands["bom"] = bom;
}

}  // namespace simcad
