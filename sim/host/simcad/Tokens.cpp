// How simcad reads a script line.
#include "Tokens.h"

#include <windows.h>

namespace simcad {

std::vector<std::string> SplitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
            continue;
        }
        if (!quoted && !inWord && c == '#')
            break;
        inWord = true;
        word += c;
        if (quoted && c == '\\' && i + 1 < line.size())
            word += line[++i];
        else if (c == '"')
            quoted = !quoted;
    }
    if (inWord)
        words.push_back(word);
    return words;
}

namespace {

// Inside quotes a backslash escapes only these; before anything else it is an
// ordinary character, so that a quoted Windows path keeps its separators.
bool IsEscaped(char next) { return next == '"' || next == '\\' || next == 'n'; }

}  // namespace

std::string Unquote(const std::string& word)
{
    std::string text;
    bool quoted = false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = word[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted && c == '\\' && i + 1 < word.size() && IsEscaped(word[i + 1])) {
            char next = word[++i];
            text += next == 'n' ? '\n' : next;
        } else {
            text += c;
        }
    }
    return text;
}

namespace {

std::string EnvironmentValue(const std::string& name)
{
    char buffer[32768];
    DWORD length = GetEnvironmentVariableA(name.c_str(), buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

}  // namespace

std::string Substitute(const std::string& line, const std::map<std::string, std::string>& variables)
{
    std::string result;
    std::size_t position = 0;
    for (;;) {
        std::size_t start = line.find("${", position);
        std::size_t end = start == std::string::npos ? start : line.find('}', start);
        if (end == std::string::npos) {
            result += line.substr(position);
            return result;
        }
        std::string name = line.substr(start + 2, end - start - 2);
        auto found = variables.find(name);
        result += line.substr(position, start - position);
        if (found != variables.end())
            result += found->second;
        else if (name.rfind("env:", 0) == 0)
            result += EnvironmentValue(name.substr(4));
        else
            result += line.substr(start, end - start + 1);
        position = end + 1;
    }
}

}  // namespace simcad
