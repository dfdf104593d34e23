// How simcad reads a script line: words separated by blanks, where a double-quoted
// stretch may hold blanks (its quotes stay in the word, so that `expect` can tell
// the text "4711" from the number 4711), and ${NAME} replaced by its value.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace simcad {

// Splits a line into words; a word that starts with "#" ends the line.
std::vector<std::string> SplitWords(const std::string& line);

// The word without its double quotes. Inside quotes \" gives a quote, \\ a
// backslash and \n a new line; any other backslash stays as it is, so that
// "C:\Program Files\x" keeps its separators.
std::string Unquote(const std::string& word);

// Replaces every ${NAME} whose NAME is in `variables`, and ${env:NAME} by the
// process's environment variable NAME (empty when unset); others are left as they are.
std::string Substitute(const std::string& line, const std::map<std::string, std::string>& variables);

}  // namespace simcad
