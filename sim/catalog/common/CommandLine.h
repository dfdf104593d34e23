// Splits a Windows command line into tokens with our own simple rules, so that the
// plug-in's exact line (quoted paths, a quoted mident with blanks and braces) is
// read the same way everywhere:
//   - blanks and tabs outside double quotes separate tokens;
//   - a double quote starts or ends a quoted stretch and is itself dropped;
//   - inside quotes every character (blanks, braces, backslashes) is kept as is;
//   - "" gives an empty token.
// Backslashes have no special meaning, so "C:\Dir\" stays C:\Dir\ .
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace catalog {

struct TokenizeResult {
    std::vector<std::string> tokens;
    std::string error;  // empty when the line was well formed
    bool ok() const { return error.empty(); }
};

TokenizeResult tokenizeCommandLine(const std::string& line);

// Wraps a value in double quotes for a command line we build ourselves.
// Values never contain double quotes (the tokenizer could not carry them anyway).
std::string quoteArgument(const std::string& value);

}  // namespace catalog
