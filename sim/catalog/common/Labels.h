// The viewer's texts in the user's language (MERIDAX_LANGUAGE). English and German
// are translated; every other language falls back to English. UTF-8.
#pragma once

#include <string>

namespace catalog {

struct Labels {
    std::string families;      // caption over the family list
    std::string sizes;         // caption over the size list
    std::string take;          // the Take button
    std::string ready;         // status before anything happened
    std::string opened;        // status prefix: part opened
    std::string notFound;      // status prefix: part or value not in the catalog
    std::string written;       // status prefix: files written
    std::string recordHeld;    // status prefix: geometry written, record held back
    std::string geometryHeld;  // status prefix: geometry half written and kept open
    std::string recordWriting; // status prefix: record being written in pieces
    std::string failed;        // status prefix: take failed
    std::string nothingShown;  // status: take without a part shown
};

const Labels& labelsFor(const std::string& language);

// The family's title in the family list, e.g. "ISO 4017 Hexagon head screw".
std::string familyTitle(const std::string& familyKey, const std::string& language);

}  // namespace catalog
