// Loads the exported part into the drawing with the host's reader: as a new part
// at the point the user locates, or, when a placed part was sent to the catalog
// for editing, in that part's place. The reader reports the part it creates to the
// import callback, which tags it. Afterwards the export files are deleted and the
// catalog is shown again for the next part.
#include "MERIDAX_plugin.h"

#include "ContextUnit.h"
#include "DoReader.h"
#include "ImportScope.h"

#include <cstring>

namespace {

constexpr int OPEN_CATALOG = 100;
constexpr int TRANSFORM_WITH_SUBS = 1;
constexpr int TRANSFORM_UPDATE = 1;

}  // namespace

// Each change to the host's state is given back at its step here; the owners in
// ImportScope give it back also when an exception leaves the import.
void MERIDAX_plugin::ImportExportedPart()
{
    ContextUnit unit;
    CiPat pat(unit.id());
    CiWork work(unit.id());

    ParseExportRecord();
    ImportRegistration registration;
    ImportReaderModes modes;

    if (editedPart)
        ReplaceEditedPart(pat, work);
    else
        InsertNewPart();

    modes.Finish();
    editedPart = nullptr;
    registration.Finish();
    DeleteExportFiles();
    CiContext::Update(unit.id());
    RequestFunction(OPEN_CATALOG);
}

void MERIDAX_plugin::InsertNewPart()
{
    PartLocating locating;
    DoReadDraw(UtCString(exportFile), DO_READ_INSERT_PART, 0, nullptr);
    locating.Finish();
}

// The reader places the new part in no workspace, so the edited part's placement
// (its part matrix within its workspace) is applied to it whole; only when the
// read made a part is the edited one deleted.
void MERIDAX_plugin::ReplaceEditedPart(CiPat& pat, CiWork& work)
{
    unsigned long workspace = ~0ul;
    work.Act(workspace);
    NoActiveWorkspace noWorkspace(workspace);

    importedPart = nullptr;
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
    }

    noWorkspace.Finish();
}
