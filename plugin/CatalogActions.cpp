// The user's catalog actions behind the integration's macro functions. Each one
// decides whether a command may be sent now, builds the command line and sends it,
// which also restarts the export watcher.
#include "MERIDAX_plugin.h"

#include "TrtMessages.h"

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

// Whatever keeps the part from being opened in the catalog (no identification, a
// start in progress, a failed launch), the user is told, and the catalog opens for
// a new part instead.
bool MERIDAX_plugin::EditPart(_ObObject* part)
{
    UtCString modelIdent;
    bool identified = GetPartIdentification(part, modelIdent);
    return EditIdentifiedPart(part, identified, modelIdent);
}

bool MERIDAX_plugin::EditIdentifiedPart(_ObObject* part, bool identified, UtCString modelIdent)
{
    if (identified && FindCatalogProcesses(Raise) != ScriptHostOnly) {
        UtCString commandLine = BuildCommandLine(modelIdent);
        editedPart = part;
        if (SendTVLCommand(commandLine))
            return true;
    }
    ShowPartNotLoadedNotice();
    editedPart = nullptr;
    if (FindCatalogProcesses(Raise) == ScriptHostOnly)
        return false;
    UtCString noModelIdent;
    return SendTVLCommand(BuildCommandLine(noModelIdent));
}

void MERIDAX_plugin::ShowPartNotLoadedNotice()
{
    UtCString heading = TrtMsgGet("cad_msg.txt", 4202, "HINWEIS");
    UtCString text = TrtMsgGet("cad_msg.txt", 4231, "Fehler beim Bibliotheksteil laden!");
    UtCString okLabel = TrtMsgGet("cad_msg.txt", 255, "OK");
    unsigned short answer = 0;
    GoDoMessageReturn(heading, text, "", okLabel, "", "", "", answer);
}
