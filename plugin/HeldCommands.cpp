// The user's catalog commands and the order of the exports. A delivery that the
// watcher has decided may wait for the export's writer; a command given in that
// window is held and runs after the import, in place of the import's call that
// shows the catalog again. So the command has the outcome it would have had if
// the export had been delivered when the detection decided it: the import
// replaces the part that was being edited then, and a close or a new edit comes
// after it. The command is late by the writer's wait at most; the main thread
// never waits for the writer. Main thread only.
#include "MERIDAX_plugin.h"

#include "FunctionNumbers.h"
#include "MERIDAX_tarnvel_thread.h"

#include <utility>

// Once one command is held, every later one is held behind it, so that the
// user's commands keep their order. An edit reads its part's identification
// when it is given, held or not: the user may delete the part meanwhile.
void MERIDAX_plugin::RunOrHoldCommand(int functionNumber, _ObObject* part)
{
    HeldCommand command{functionNumber, part, false, UtCString()};
    if (functionNumber == EDIT_PART)
        command.identified = GetPartIdentification(part, command.modelIdent);
    if (heldCommands.empty() && !(watcher && watcher->DeliveryWaiting()))
        RunCommand(command);
    else
        heldCommands.push_back(std::move(command));
}

void MERIDAX_plugin::RunCommand(const HeldCommand& command)
{
    switch (command.functionNumber) {
    case OPEN_CATALOG:
        NewPart();
        break;
    case CLOSE_CATALOG:
        CloseCatalog();
        break;
    case EDIT_PART:
        EditIdentifiedPart(command.part, command.identified, command.modelIdent);
        break;
    default:
        break;
    }
}

// The import may have deleted a part that a held edit names: the part that took
// its place is the one the user now sees there, and the catalog opens that one.
void MERIDAX_plugin::RunHeldCommands(const std::vector<HeldCommand>& held, _ObObject* replaced,
                                     _ObObject* replacement)
{
    for (const HeldCommand& command : held) {
        if (command.functionNumber == EDIT_PART && replacement && command.part == replaced)
            EditPart(replacement);
        else
            RunCommand(command);
    }
}
