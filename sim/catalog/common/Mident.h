// The part identification text ("mident") that travels between catalog and CAD:
//     {$iso4017/iso4017.prj},ISO4017 {D=8},{L=40}
// project without braces/commas/blanks, a one-word tail (our family key), then the
// variable fields. The catalog writes ONE blank before the fields; the plug-in sends
// it back with TWO blanks (or a single trailing blank when there are no fields), so
// the reader accepts any run of blanks there and fields in any order.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace catalog {

using Variable = std::pair<std::string, std::string>;  // NAME, value
using Variables = std::vector<Variable>;

struct Mident {
    std::string project;  // e.g. iso4017/iso4017.prj
    std::string tail;     // e.g. ISO4017
    Variables variables;
};

struct MidentParseResult {
    Mident mident;
    std::string error;  // empty on success
    bool ok() const { return error.empty(); }
};

MidentParseResult parseMident(const std::string& text);

// As the catalog writes it into the export record (one blank before the fields).
std::string formatMident(const Mident& mident);

// The value of NAME, or nullptr.
const std::string* findVariable(const Variables& variables, const std::string& name);

}  // namespace catalog
