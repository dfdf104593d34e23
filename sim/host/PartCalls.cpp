// The host's part calls (CiPat): read and change a placed object's attributes and
// placement, and remove it. Each call needs its context unit still open. Every
// transformation is recorded with its arguments, since the stand-in's own drawing
// does not depend on the last two.
#include "CiDrawing.h"

#include "Drawing.h"
#include "Internal.h"
#include "Journal.h"
#include "Placement.h"

namespace {

// The object a cursor names, by id: null for an empty cursor, -1 for an object
// the drawing never had.
sim::Json cursorObject(const DsCsr& cursor)
{
    if (cursor.count <= 0 || cursor.count > DS_CURSOR_DEPTH)
        return sim::Json();
    return sim::Json(sim::Drawing::instance().objectId(cursor.path[cursor.count - 1]));
}

void recordTransform(const DsCsr& cursor, const double matrix[4][4], int withSubs, int update,
                     int result)
{
    sim::Json transform = sim::Json::object();
    transform.set("object", cursorObject(cursor));
    transform.set("matrix", matrix ? sim::MatrixJson(sim::FromRows(matrix)) : sim::Json());
    transform.set("withSubs", withSubs);
    transform.set("update", update);
    transform.set("result", result);
    sim::Journal::instance().addTransform(std::move(transform));
}

int transform(long unit, const DsCsr& cursor, const double matrix[4][4])
{
    const char* call = "CiPat::Trans";
    if (!sim::CheckContextOpen(unit, call) || !matrix)
        return 1;
    return sim::Drawing::instance().transform(cursor, call, sim::FromRows(matrix));
}

}  // namespace

CiPat::CiPat(long unit) : unit_(unit) {}
CiPat::~CiPat() = default;

int CiPat::GetAttrList(const DsCsr& cursor, DsAttributeList& attributes)
{
    const char* call = "CiPat::GetAttrList";
    if (!sim::CheckContextOpen(unit_, call))
        return 1;
    return sim::Drawing::instance().attributes(cursor, call, attributes);
}

int CiPat::ChgAttr(const DsCsr& cursor, const char* name, const char* value)
{
    const char* call = "CiPat::ChgAttr";
    if (!sim::CheckContextOpen(unit_, call) || !name || !*name)
        return 1;
    return sim::Drawing::instance().changeAttribute(cursor, call, name, value ? value : "");
}

int CiPat::GetMat(const DsCsr& cursor, GeMat44& partMatrix)
{
    const char* call = "CiPat::GetMat";
    if (!sim::CheckContextOpen(unit_, call))
        return 1;
    return sim::Drawing::instance().matrix(cursor, call, partMatrix);
}

int CiPat::GetWorkMat(const DsCsr& cursor, GeMat44& workspaceMatrix)
{
    const char* call = "CiPat::GetWorkMat";
    if (!sim::CheckContextOpen(unit_, call))
        return 1;
    return sim::Drawing::instance().workspaceMatrix(cursor, call, workspaceMatrix);
}

// The stand-in's sub-objects are bodies in part coordinates: they move with their
// part whatever withSubs says.
int CiPat::Trans(const DsCsr& cursor, const double matrix[4][4], int withSubs, int update)
{
    int result = transform(unit_, cursor, matrix);
    recordTransform(cursor, matrix, withSubs, update, result);
    return result;
}

int CiPat::DelInklSubs(const DsCsr& cursor)
{
    const char* call = "CiPat::DelInklSubs";
    if (!sim::CheckContextOpen(unit_, call))
        return 1;
    return sim::Drawing::instance().remove(cursor, call);
}
