// Loads the exported part into the drawing with the host's reader: as a new part
// at the point the user locates, or, when a placed part was sent to the catalog
// for editing, in that part's place. The reader reports the part it creates to the
// import callback, which tags it. Afterwards the export files are deleted and the
// catalog is shown again for the next part.
#include "MERIDAX_plugin.h"

#include "ContextUnit.h"
#include "DoReader.h"
#include "FunctionNumbers.h"
#include "ImportScope.h"

#include <cstring>
#include <utility>

namespace {

constexpr int TRANSFORM_WITH_SUBS = 1;
constexpr int TRANSFORM_UPDATE = 1;

}  // namespace

// Commands that the user gave while this export waited for its writer take the
// place of the call that shows the catalog again: that call would only have come
// before them. They are taken first, so that an import that fails holds nothing
// back for good.
void MERIDAX_plugin::ImportExportedPart()
{
    std::vector<HeldCommand> held = std::move(heldCommands);
    heldCommands.clear();
    _ObObject* replaced = editedPart;
    _ObObject* replacement = ReadExportIntoDrawing(held.empty());
    RunHeldCommands(held, replaced, replacement);
}

// Each change to the host's state is given back at its step here; the owners in
// ImportScope give it back also when an exception leaves the import.
_ObObject* MERIDAX_plugin::ReadExportIntoDrawing(bool showCatalogAfter)
{
    ContextUnit unit;
    CiPat pat(unit.id());
    CiWork work(unit.id());

    ParseExportRecord();
    ImportRegistration registration;
    ImportReaderModes modes;

    _ObObject* replacement = nullptr;
    if (editedPart)
        replacement = ReplaceEditedPart(pat, work);
    else
        InsertNewPart();

    modes.Finish();
    editedPart = nullptr;
    registration.Finish();
    DeleteExportFiles();
    CiContext::Update(unit.id());
    if (showCatalogAfter)
        RequestFunction(OPEN_CATALOG);
    return replacement;
}

void MERIDAX_plugin::InsertNewPart()
{
    PartLocating locating;
    DoReadDraw(UtCString(exportFile), DO_READ_INSERT_PART, 0, nullptr);
    locating.Finish();
}

// The reader places the new part in no workspace, so the edited part's placement
// (its part matrix within its workspace) is applied to it whole; only when the
// read made a part is the edited one deleted, and the new part returned.
_ObObject* MERIDAX_plugin::ReplaceEditedPart(CiPat& pat, CiWork& work)
{
    unsigned long workspace = ~0ul;
    work.Act(workspace);
    NoActiveWorkspace noWorkspace(workspace);

    importedPart = nullptr;
    _ObObject* replacement = nullptr;
    DoManipSetOnce(1);
    short result = DoReadDraw(UtCString(exportFile), DO_READ_REPLACE_PART, 0, nullptr);
    if (result == 0 && importedPart) {
        DsCsr oldPart(editedPart);
        GeMat44 workspaceMatrix;
        GeMat44 partMatrix;
        pat.GetWorkMat(oldPart, workspaceMatrix);
        pat.GetMat(oldPart, partMatrix);
        DsCsr newPart(importedPart);
        GeMat44 combined;
        Mt44Concat(partMatrix, workspaceMatrix, combined);
        double placement[4][4];
        std::memcpy(placement, combined.m, sizeof placement);
        pat.Trans(newPart, placement, TRANSFORM_WITH_SUBS, TRANSFORM_UPDATE);
        pat.DelInklSubs(oldPart);
        replacement = importedPart;
    }

    noWorkspace.Finish();
    return replacement;
}
