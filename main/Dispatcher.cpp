// The macro function entry: every integration command of the host's macro
// language, and every follow-up call that the library requests of the host,
// arrives here with a function number. Runs on the host's main thread.
#include "tarnvelMain.h"

#include "FunctionNumbers.h"
#include "GetArgument.h"
#include "MERIDAX_plugin.h"
#include "UtDiagnostics.h"

namespace {

// The placed part that the user picked for function 102; null when the running
// macro call has no argument list or no part argument.
_ObObject* PartArgument()
{
    _ObObject* part = nullptr;
    GiFunctionArguments* arguments = nullptr;
    if (GiFuncGetActFunctionArguments(arguments) == 0 && arguments)
        GetArgument(*arguments, "tarnvl_partId", part);
    return part;
}

void ReportIllegalFunction(int functionNumber)
{
    DebugAssertInv("tarnvelMain", 270, "tarnvel::Select", 31, "tarnvel: illegal function %s",
                   "funcNo", functionNumber);
}

}  // namespace

namespace tarnvel {

int Select(int, int functionNumber, const UtCString&)
{
    switch (functionNumber) {
    case OPEN_CATALOG:
        Main();
        if (g_plugin)
            g_plugin->RunOrHoldCommand(OPEN_CATALOG, nullptr);
        break;
    case CLOSE_CATALOG:
        if (g_plugin)
            g_plugin->RunOrHoldCommand(CLOSE_CATALOG, nullptr);
        break;
    case EDIT_PART: {
        _ObObject* part = PartArgument();
        if (g_plugin)
            g_plugin->RunOrHoldCommand(EDIT_PART, part);
        break;
    }
    case IMPORT_EXPORT:
        if (g_plugin)
            g_plugin->ImportExportedPart();
        break;
    default:
        ReportIllegalFunction(functionNumber);
        break;
    }
    return 0;
}

}  // namespace tarnvel

extern "C" int TarnvelSelect(int unused, int functionNumber, const UtCString& text)
{
    return tarnvel::Select(unused, functionNumber, text);
}
