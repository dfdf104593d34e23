// The lines a text-mode reader of the C runtime should see in a file's bytes:
// reading stops at the first Ctrl-Z, CR LF becomes LF, a lone CR stays, and every
// other byte, NUL included, belongs to its line. The fuzzer's reference for what
// the record parser was given.
#pragma once

#include <string>
#include <vector>

std::vector<std::string> TextModeLines(const std::string& bytes);
