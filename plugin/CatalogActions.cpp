// The user's catalog actions behind the integration's macro functions. Each one
// decides whether a command may be sent now, builds the command line and sends it,
// which also restarts the export watcher.
#include "MERIDAX_plugin.h"

// While only the script host runs, a catalog start is in progress: a second
// command then would start a second catalog, so nothing is sent.
bool MERIDAX_plugin::NewPart()
{
    editedPart = nullptr;
    if (FindCatalogProcesses(Raise) == ScriptHostOnly)
        return false;
    UtCString noModelIdent;
    return SendTVLCommand(BuildCommandLine(noModelIdent));
}
