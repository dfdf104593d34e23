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
// user's commands keep their order.
void MERIDAX_plugin::RunOrHoldCommand(int functionNumber, _ObObject* part)
{
    if (!heldCommands.empty() || (watcher && watcher->DeliveryWaiting())) {
        heldCommands.push_back({functionNumber, part});
        return;
    }
    RunCommand({functionNumber, part});
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
        EditPart(command.part);
        break;
    default:
        break;
    }
}

// The import may have deleted a part that a held command names: the part that
// took its place is the one the user now sees there.
void MERIDAX_plugin::RunHeldCommands(std::vector<HeldCommand> held, _ObObject* replaced,
                                     _ObObject* replacement)
{
    for (HeldCommand& command : held) {
        if (replacement && command.part == replaced)
            command.part = replacement;
        RunCommand(command);
    }
}
