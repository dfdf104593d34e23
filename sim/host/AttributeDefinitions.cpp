// The host's attribute definitions: the names an object attribute may have, with
// their format. Three names come with the host; the report lists the names that
// DsAttrSetDef defined, in order and with repeats, so that a name defined twice
// shows, and the journal keeps every call's arguments, refused calls included.
#include "ObObject.h"

#include "Internal.h"
#include "Journal.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace {

struct AttributeFormat {
    int type;
    int visibility;
    int length;
    int flags;
};

std::mutex definitionsMutex;
std::map<std::string, AttributeFormat> formats;
std::vector<std::string> definedNames;

void defineBuiltInNames()
{
    for (const char* name : {"obkind", "bibname", "bibpath"})
        formats[name] = AttributeFormat{5, 1, 255, 0};
}

sim::Json textOrNull(const char* text) { return text ? sim::Json(text) : sim::Json(); }

void recordDefinitionCall(const char* name, int type, int visibility, int length, int flags,
                          const char* definitionName)
{
    sim::Json arguments = sim::Json::array();
    arguments.push(textOrNull(name));
    for (int number : {type, visibility, length, flags})
        arguments.push(number);
    arguments.push(textOrNull(definitionName));
    sim::Journal::instance().addAttributeDefinitionCall(std::move(arguments));
}

void copyIfWanted(int* out, int value)
{
    if (out)
        *out = value;
}

}  // namespace

int DsAttrGetFormat(const char* name, int* type, int* visibility, int* length, int* flags)
{
    std::lock_guard<std::mutex> lock(definitionsMutex);
    if (formats.empty())
        defineBuiltInNames();
    auto found = name ? formats.find(name) : formats.end();
    if (found == formats.end())
        return 1;
    copyIfWanted(type, found->second.type);
    copyIfWanted(visibility, found->second.visibility);
    copyIfWanted(length, found->second.length);
    copyIfWanted(flags, found->second.flags);
    return 0;
}

int DsAttrSetDef(const char* name, int type, int visibility, int length, int flags,
                 const char* definitionName)
{
    recordDefinitionCall(name, type, visibility, length, flags, definitionName);
    if (!name || !*name)
        return 1;
    std::lock_guard<std::mutex> lock(definitionsMutex);
    if (formats.empty())
        defineBuiltInNames();
    formats[name] = AttributeFormat{type, visibility, length, flags};
    definedNames.push_back(name);
    return 0;
}

namespace sim {

Json AttributeDefinitions()
{
    std::lock_guard<std::mutex> lock(definitionsMutex);
    Json names = Json::array();
    for (const std::string& name : definedNames)
        names.push(name);
    return names;
}

void ResetAttributeDefinitions()
{
    std::lock_guard<std::mutex> lock(definitionsMutex);
    formats.clear();
    definedNames.clear();
    defineBuiltInNames();
}

}  // namespace sim
