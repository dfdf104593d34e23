// Writes a table as aligned text or as CSV.
#include "TextTable.h"

#include <algorithm>

namespace simcad {

namespace {

const std::string COLUMN_GAP = "  ";

std::vector<std::size_t> ColumnWidths(const Table& table)
{
    std::vector<std::size_t> widths;
    for (const std::string& title : table.header)
        widths.push_back(title.size());
    for (const auto& row : table.rows)
        for (std::size_t column = 0; column < row.size() && column < widths.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    return widths;
}

std::string AlignedLine(const Table& table, const std::vector<std::string>& cells,
                        const std::vector<std::size_t>& widths)
{
    std::string line;
    for (std::size_t column = 0; column < widths.size(); ++column) {
        std::string cell = column < cells.size() ? cells[column] : "";
        std::string padding(widths[column] - std::min(widths[column], cell.size()), ' ');
        bool right = column < table.rightAligned.size() && table.rightAligned[column];
        line += (column > 0 ? COLUMN_GAP : "") + (right ? padding + cell : cell + padding);
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string CsvLine(const std::vector<std::string>& cells)
{
    std::string line;
    for (std::size_t column = 0; column < cells.size(); ++column)
        line += (column > 0 ? "," : "") + CsvField(cells[column]);
    return line + "\r\n";
}

}  // namespace

std::vector<std::string> AlignedLines(const Table& table)
{
    std::vector<std::size_t> widths = ColumnWidths(table);
    std::vector<std::string> rule;
    for (std::size_t width : widths)
        rule.push_back(std::string(width, '-'));
    std::vector<std::string> lines{AlignedLine(table, table.header, widths), AlignedLine(table, rule, widths)};
    for (const auto& row : table.rows)
        lines.push_back(AlignedLine(table, row, widths));
    return lines;
}

std::string CsvText(const Table& table)
{
    std::string text = CsvLine(table.header);
    for (const auto& row : table.rows)
        text += CsvLine(row);
    return text;
}

}  // namespace simcad
