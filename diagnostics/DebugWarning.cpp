// A warning record that writes itself to the host's error log when it ends.
#include "DebugWarning.h"

#include "UtCString.h"
#include "UtDiagnostics.h"

namespace Debug {

Warning::Warning(std::string file, std::string function, int line)
    : file(std::move(file)), function(std::move(function)), line(line)
{
}

// Logging must never fail the code that raised the warning, so nothing leaves here.
Warning::~Warning()
{
    try {
        UtCString text;
        text.Format("%-12s(%4d) %s: %s", file.c_str(), line, function.c_str(),
                    message.str().c_str());
        UtErrorLogWarning(text.c_str());
    } catch (...) {  // NOLINT(bugprone-empty-catch): a warning that cannot be logged is dropped
    }
}

}  // namespace Debug
