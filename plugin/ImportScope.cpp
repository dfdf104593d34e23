// What an import changes in the host for its own length, given back at the
// import's own step or when an exception leaves it.
#include "ImportScope.h"

#include "CTarnvelCallback.h"
#include "CiDrawing.h"
#include "DoReader.h"

namespace {

constexpr unsigned long NO_WORKSPACE = 0;

}  // namespace

ImportRegistration::ImportRegistration() : registry_(tarnvel::RegisterImportCallback()) {}

void ImportRegistration::Finish()
{
    if (!registered_)
        return;
    registered_ = false;
    tarnvel::RemoveImportCallback(registry_);
}

ImportReaderModes::ImportReaderModes()
{
    DoManipSetOnce(0);
    silent_ = DoReadSilentSuccess(1);
    keepBibSetModes_ = DoManipKeepBibSetModes(1);
    bibModify_ = DoReadBibModify(2);
}

void ImportReaderModes::Finish()
{
    if (!set_)
        return;
    set_ = false;
    DoReadBibModify(bibModify_);
    DoReadBibModifyId(0);
    DoManipKeepBibSetModes(keepBibSetModes_);
    DoReadSilentSuccess(silent_);
    DoManipSetOnce(0);
}

PartLocating::PartLocating() : previous_(DoSetLocateParts(1)) {}

void PartLocating::Finish()
{
    if (!set_)
        return;
    set_ = false;
    DoSetLocateParts(previous_);
}

NoActiveWorkspace::NoActiveWorkspace(unsigned long active) : workspace_(active)
{
    if (workspace_ != NO_WORKSPACE)
        DsSetActiveWorkspace(NO_WORKSPACE);
}

void NoActiveWorkspace::Finish()
{
    if (workspace_ == NO_WORKSPACE)
        return;
    unsigned long workspace = workspace_;
    workspace_ = NO_WORKSPACE;
    DxSetActiveWorkspace(workspace);
}
