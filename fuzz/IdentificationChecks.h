// Places parts in the host stand-in's drawing and reads their identification back
// through the plug-in: once with the attributes the tagging would write for a
// parsed record (the text must give back the record's identifier and variables),
// and once with a damaged attribute list (random names, odd variable numbers,
// duplicates, missing identifiers), checked against ExpectedIdentification.
#pragma once

#include "MERIDAX_plugin.h"
#include "Random.h"
#include "RecordChecks.h"
#include "SimControl.h"

#include <string>

class IdentificationChecker {
public:
    IdentificationChecker(MERIDAX_plugin& plugin, Random& random) : plugin_(plugin), random_(random) {}

    // Empty when every check held; otherwise what failed.
    std::string CheckTagged(const ParsedRecord& record);
    std::string CheckDamaged(const ParsedRecord& record);

    // The attributes the tagging writes for a parsed record, in its order.
    static sim::PartAttributes TaggedAttributes(const ParsedRecord& record);

private:
    // Adds the part, reads its identification; "" or what failed. `found` and
    // `text` give the result.
    std::string Identify(const sim::PartAttributes& attributes, bool& found, std::string& text);
    // Identify, then the text against ExpectedIdentification.
    std::string CompareWithExpected(const sim::PartAttributes& attributes, bool& found, std::string& text);
    void Damage(sim::PartAttributes& attributes);
    std::string RandomVariableName();
    std::string RandomText(std::size_t longest);

    MERIDAX_plugin& plugin_;
    Random& random_;
};
