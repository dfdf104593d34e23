// Command line tokenizer; see CommandLine.h for the rules.
#include "common/CommandLine.h"

namespace catalog {

namespace {

bool isSeparator(char c) { return c == ' ' || c == '\t'; }

}  // namespace

TokenizeResult tokenizeCommandLine(const std::string& line) {
    TokenizeResult result;
    std::string current;
    bool inToken = false;
    bool inQuotes = false;

    for (char c : line) {
        if (c == '"') {
            inQuotes = !inQuotes;
            inToken = true;  // "" still makes a (possibly empty) token
        } else if (isSeparator(c) && !inQuotes) {
            if (inToken) {
                result.tokens.push_back(current);
                current.clear();
                inToken = false;
            }
        } else if (c == '\r' || c == '\n') {
            result.error = "line break inside the command line";
            return result;
        } else {
            current += c;
            inToken = true;
        }
    }
    if (inQuotes) {
        result.error = "unterminated double quote";
        return result;
    }
    if (inToken) {
        result.tokens.push_back(current);
    }
    return result;
}

std::string quoteArgument(const std::string& value) { return "\"" + value + "\""; }

}  // namespace catalog
