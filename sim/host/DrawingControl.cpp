// The controls with which scripts and tests set up the drawing: parts placed by
// hand, the located point and workspaces.
#include "SimControl.h"

#include "Drawing.h"
#include "Placement.h"

namespace sim {

_ObObject* AddPart(long id, const PartAttributes& attributes, std::string& error)
{
    Drawing& drawing = Drawing::instance();
    return drawing.addPart(id, attributes, drawing.locatedPlacement(), error);
}

_ObObject* FindPart(long id) { return Drawing::instance().findPart(id); }

long ObjectId(const _ObObject* object) { return Drawing::instance().objectId(object); }

bool MovePart(long id, double x, double y, double z)
{
    return Drawing::instance().transformPart(id, Translation(x, y, z));
}

bool RemovePart(long id) { return Drawing::instance().removePart(id); }

void LocateAt(double x, double y, double z) { Drawing::instance().locateAt(x, y, z); }

bool DefineWorkspace(unsigned long number, double x, double y, double z, double angleDegrees)
{
    return Drawing::instance().defineWorkspace(number, TurnThenMove(angleDegrees, x, y, z));
}

bool HasWorkspace(unsigned long number) { return Drawing::instance().hasWorkspace(number); }

}  // namespace sim
