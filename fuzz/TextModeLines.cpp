// See TextModeLines.h.
#include "TextModeLines.h"

std::vector<std::string> TextModeLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char byte = bytes[i];
        if (byte == '\x1a')
            break;
        if (byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        if (byte == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += byte;
        }
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}
