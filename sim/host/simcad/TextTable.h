// A table of texts and the two ways simcad writes one: aligned columns for a
// person reading the script's output, and CSV for a spreadsheet.
#pragma once

#include <string>
#include <vector>

namespace simcad {

struct Table {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;  // each as long as the header
    std::vector<bool> rightAligned;              // per column; missing means left
};

// The header, a rule of dashes under every title, and one line per row; columns
// are two blanks apart and no line ends in blanks.
std::vector<std::string> AlignedLines(const Table& table);

// The header row and the rows as comma-separated fields, each line ended by CR LF;
// a field with a comma, a quote or a line break is quoted, its quotes doubled.
std::string CsvText(const Table& table);

}  // namespace simcad
