// See ExpectedIdentification.h.
#include "ExpectedIdentification.h"

#include <cstdint>
#include <map>

namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

const std::string* FirstValue(const sim::PartAttributes& attributes, const std::string& name)
{
    for (const auto& attribute : attributes)
        if (attribute.first == name)
            return &attribute.second;
    return nullptr;
}

}  // namespace

bool ReferenceVariableNumber(const std::string& text, int& number)
{
    std::size_t at = 0;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    std::size_t firstDigit = at;
    std::int64_t magnitude = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at)
        if (magnitude <= INT64_C(1) << 40)
            magnitude = magnitude * 10 + (text[at] - '0');
    if (at == firstDigit)
        return false;
    std::int64_t value = negative ? -magnitude : magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return false;
    number = static_cast<int>(value);
    return true;
}

bool ExpectedIdentification(const sim::PartAttributes& attributes, std::string& text)
{
    const std::string* project = FirstValue(attributes, "TVL_ID0");
    const std::string* identifier = FirstValue(attributes, "TVL_ID1");
    if (!project || !identifier)
        return false;

    const std::string prefix = "TVLM_";
    std::map<int, std::string> variables;
    for (const auto& [name, value] : attributes) {
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::size_t underscore = name.find('_', prefix.size());
        int number = 0;
        if (underscore != std::string::npos &&
            ReferenceVariableNumber(name.substr(prefix.size(), underscore - prefix.size()), number))
            variables[number] = "{" + name.substr(underscore + 1) + "=" + value + "}";
    }

    text = "{$" + *project + "}," + *identifier + " ";
    const char* separator = " ";
    for (const auto& variable : variables) {
        text += separator + variable.second;
        separator = ",";
    }
    return true;
}
