// The host's workspace calls: which workspace is active (new parts belong to it)
// and switching it.
#include "CiDrawing.h"

#include "Drawing.h"
#include "Internal.h"

CiWork::CiWork(long unit) : unit_(unit) {}
CiWork::~CiWork() = default;

int CiWork::Act(unsigned long& workspace)
{
    if (!sim::CheckContextOpen(unit_, "CiWork::Act"))
        return 1;
    workspace = sim::Drawing::instance().activeWorkspace();
    return 0;
}

int DsSetActiveWorkspace(unsigned long workspace)
{
    return sim::Drawing::instance().activateWorkspace(workspace) ? 0 : 1;
}

int DxSetActiveWorkspace(unsigned long workspace)
{
    return sim::Drawing::instance().activateWorkspace(workspace) ? 0 : 1;
}
