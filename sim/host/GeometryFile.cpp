// The catalog's geometry file, read strictly: a file cut short or changed by hand
// must not become a half part in the drawing.
#include "GeometryFile.h"

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

namespace sim {

namespace {

// How many sizes follow x y z for each body kind.
const std::map<std::string, std::size_t> SIZES_OF_KIND = {
    {"cylinder", 2}, {"hexprism", 2}, {"hextube", 3}, {"tube", 3}, {"sphere", 1},
};

// The lines with a CR of a CR LF line end taken off.
std::vector<std::string> readLines(std::istream& text)
{
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> splitWords(const std::string& line)
{
    std::istringstream words(line);
    std::vector<std::string> result;
    std::string word;
    while (words >> word)
        result.push_back(word);
    return result;
}

bool parseNumber(const std::string& word, double& value)
{
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return !word.empty() && *end == '\0' && std::isfinite(value);
}

bool parsePartLine(const std::string& line, GeometryFile& geometry)
{
    std::istringstream words(line);
    std::string keyword;
    words >> keyword >> geometry.key;
    if (keyword != "part" || geometry.key.empty())
        return false;
    std::string rest;
    std::getline(words, rest);
    std::size_t start = rest.find_first_not_of(" \t");
    geometry.designation = start == std::string::npos ? "" : rest.substr(start);
    return true;
}

bool parseBodyLine(const std::string& line, GeometryBody& body)
{
    std::vector<std::string> words = splitWords(line);
    if (words.empty())
        return false;
    auto kind = SIZES_OF_KIND.find(words[0]);
    if (kind == SIZES_OF_KIND.end() || words.size() != 1 + 3 + kind->second)
        return false;
    body.kind = words[0];
    body.values.assign(words.size() - 1, 0.0);
    for (std::size_t i = 1; i < words.size(); ++i)
        if (!parseNumber(words[i], body.values[i - 1]))
            return false;
    return true;
}

bool parseHeader(const std::vector<std::string>& lines, GeometryFile& geometry, std::string& error)
{
    if (lines.size() < 4 || lines[0] != "TARNVEL-GEOMETRY 1") {
        error = "not a geometry file";
        return false;
    }
    std::vector<std::string> format = splitWords(lines[2]);
    if (!parsePartLine(lines[1], geometry) || format.size() != 2 || format[0] != "format" ||
        lines[3] != "units mm") {
        error = "bad header";
        return false;
    }
    geometry.format = format[1];
    return true;
}

// Only blank lines may follow the end line.
bool onlyBlankLinesFrom(const std::vector<std::string>& lines, std::size_t first)
{
    for (std::size_t i = first; i < lines.size(); ++i)
        if (!splitWords(lines[i]).empty())
            return false;
    return true;
}

}  // namespace

bool ParseGeometry(std::istream& text, GeometryFile& geometry, std::string& error)
{
    std::vector<std::string> lines = readLines(text);
    if (!parseHeader(lines, geometry, error))
        return false;
    for (std::size_t i = 4; i < lines.size(); ++i) {
        if (lines[i] == "end") {
            if (geometry.bodies.empty()) {
                error = "no bodies";
                return false;
            }
            if (!onlyBlankLinesFrom(lines, i + 1)) {
                error = "text after the end line";
                return false;
            }
            return true;
        }
        GeometryBody body;
        if (!parseBodyLine(lines[i], body)) {
            error = "bad body on line " + std::to_string(i + 1);
            return false;
        }
        geometry.bodies.push_back(body);
    }
    error = "no end line";
    return false;
}

}  // namespace sim
