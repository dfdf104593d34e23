// Loads the exported part into the drawing with the host's reader: as a new part
// at the point the user locates, or, when a placed part was sent to the catalog
// for editing, in that part's place. The reader reports the part it creates to the
// import callback, which tags it. Afterwards the export files are deleted and the
// catalog is shown again for the next part.
#include "MERIDAX_plugin.h"

#include "CTarnvelCallback.h"
#include "ContextUnit.h"
#include "DoReader.h"

#include <cstring>

namespace {

constexpr int OPEN_CATALOG = 100;
constexpr unsigned long NO_WORKSPACE = 0;
constexpr int TRANSFORM_WITH_SUBS = 1;
constexpr int TRANSFORM_UPDATE = 1;

// The reader modes an import changes, and their values before it.
struct ReaderModes {
    int silent;
    int keepBibSetModes;
    short bibModify;
};

ReaderModes SetImportModes()
{
    DoManipSetOnce(0);
    ReaderModes previous;
    previous.silent = DoReadSilentSuccess(1);
    previous.keepBibSetModes = DoManipKeepBibSetModes(1);
    previous.bibModify = DoReadBibModify(2);
    return previous;
}

void RestoreModes(const ReaderModes& previous)
{
    DoReadBibModify(previous.bibModify);
    DoReadBibModifyId(0);
    DoManipKeepBibSetModes(previous.keepBibSetModes);
    DoReadSilentSuccess(previous.silent);
    DoManipSetOnce(0);
}

}  // namespace

void MERIDAX_plugin::ImportExportedPart()
{
    ContextUnit unit;
    CiPat pat(unit.id());
    CiWork work(unit.id());

    ParseExportRecord();
    core::ComponentRegistryHelper registry = tarnvel::RegisterImportCallback();
    ReaderModes previousModes = SetImportModes();

    if (editedPart)
        ReplaceEditedPart(pat, work);
    else
        InsertNewPart();

    RestoreModes(previousModes);
    editedPart = nullptr;
    tarnvel::RemoveImportCallback(registry);
    DeleteExportFiles();
    CiContext::Update(unit.id());
    RequestFunction(OPEN_CATALOG);
}

void MERIDAX_plugin::InsertNewPart()
{
    short previousLocate = DoSetLocateParts(1);
    DoReadDraw(exportFile, DO_READ_INSERT_PART, 0, nullptr);
    DoSetLocateParts(previousLocate);
}

// The reader places the new part in no workspace, so the edited part's placement
// (its part matrix within its workspace) is applied to it whole; only when the
// read made a part is the edited one deleted.
void MERIDAX_plugin::ReplaceEditedPart(CiPat& pat, CiWork& work)
{
    unsigned long workspace = ~0ul;
    work.Act(workspace);
    if (workspace != NO_WORKSPACE)
        DsSetActiveWorkspace(NO_WORKSPACE);

    importedPart = nullptr;
    DoManipSetOnce(1);
    short result = DoReadDraw(exportFile, DO_READ_REPLACE_PART, 0, nullptr);
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

    if (workspace != NO_WORKSPACE)
        DxSetActiveWorkspace(workspace);
}
