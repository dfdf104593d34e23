// Reads a placed catalog part's identification attributes back and turns them into
// the model identification text that the catalog opens the part from:
// "{$<TVL_ID0>},<TVL_ID1> " followed by the variables "{NAME=value}", ordered by
// their number and separated by commas.
#include "MERIDAX_plugin.h"

#include "ContextUnit.h"
#include "GlobalStrings.h"

#include <cerrno>
#include <cstdlib>
#include <map>
#include <string>

namespace {

const DsAttribute* FindAttribute(const DsAttributeList& attributes, const char* name)
{
    for (const DsAttribute& attribute : attributes)
        if (attribute.name == name)
            return &attribute;
    return nullptr;
}

// Reads a variable number as a decimal integer: leading blanks and a sign taken,
// characters after the digits ignored, 32-bit range. A number that does not
// convert makes the attribute count as no variable: the tagging never writes such
// a name, and one foreign attribute should not make the whole part unusable.
bool ReadVariableNumber(const std::string& text, int& number)
{
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(start, &end, 10);
    if (end == start || errno == ERANGE || value < INT32_MIN || value > INT32_MAX)
        return false;
    number = static_cast<int>(value);
    return true;
}

using VariableTable = std::map<int, std::pair<std::string, std::string>>;

// The "TVLM_<number>_<name>" attributes; a later one of the same number wins.
VariableTable ReadVariables(const DsAttributeList& attributes)
{
    const std::string& prefix = g_attrMetaPrefix.string();
    VariableTable variables;
    for (const DsAttribute& attribute : attributes) {
        const std::string& name = attribute.name.string();
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string rest = name.substr(prefix.size());
        std::size_t underscore = rest.find('_');
        int number = 0;
        if (underscore == std::string::npos || !ReadVariableNumber(rest.substr(0, underscore), number))
            continue;
        variables[number] = {rest.substr(underscore + 1), attribute.value.string()};
    }
    return variables;
}

}  // namespace

bool MERIDAX_plugin::GetPartIdentification(_ObObject* part, UtCString& modelIdent)
{
    if (!part)
        return false;
    ContextUnit unit;
    CiPat pat(unit.id());
    DsAttributeList attributes;
    if (pat.GetAttrList(DsCsr(part), attributes) != 0)
        return false;

    const DsAttribute* project = FindAttribute(attributes, "TVL_ID0");
    const DsAttribute* identifier = FindAttribute(attributes, "TVL_ID1");
    if (!project || !identifier)
        return false;

    std::string text = "{$" + project->value.string() + "}," + identifier->value.string() + " ";
    const char* separator = " ";
    for (const auto& [number, variable] : ReadVariables(attributes)) {
        text += separator;
        text += "{" + variable.first + "=" + variable.second + "}";
        separator = ",";
    }
    modelIdent = text;
    return true;
}
