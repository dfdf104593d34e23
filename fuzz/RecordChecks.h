// Runs one input through the export record parser and checks what must hold for
// any file: the same file parses the same twice, attribute names are unique, no
// attributes come without an "[Attributes]" line, and the attributes are exactly
// the name=value lines of the file's attribute sections.
#pragma once

#include "MERIDAX_plugin.h"

#include <string>
#include <vector>

struct ParsedRecord {
    NameValueList attributes;
    std::vector<UtCString> pieces;
    NameValueList variables;
};

struct RecordCheckResult {
    std::string failure;  // empty when every check held
    double parseSeconds = 0;
};

class RecordChecker {
public:
    RecordChecker(MERIDAX_plugin& plugin, const std::wstring& recordPath);

    // Parses the record file, which holds `input`, twice.
    RecordCheckResult Check(const std::string& input, ParsedRecord& parsed);

private:
    ParsedRecord ParseOnce(double& seconds);

    MERIDAX_plugin& plugin_;
};
