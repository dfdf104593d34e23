// The host's drawing database calls: context units, part operations, workspaces
// and 4 x 4 placement matrices. Every operation on the drawing runs inside a
// context unit: CiContext::Add, CiContext::SetUnit, the work, CiContext::Del.
#pragma once

#include "HostApi.h"
#include "ObObject.h"

class HOST_API CiContext {
public:
    static long Add();
    static int SetUnit(long unit, const char* unitName);
    // Makes the drawing show what was done in the unit.
    static int Update(long unit);
    static int Del(long unit);
};

// A placement: row-major 4 x 4 matrix, the identity when made.
class HOST_API GeMat44 {
public:
    GeMat44();
    double m[4][4];
};

// result = first followed by second.
HOST_API void Mt44Concat(const GeMat44& first, const GeMat44& second, GeMat44& result);

class HOST_API CiPat {
public:
    explicit CiPat(long unit);
    ~CiPat();
    CiPat(const CiPat&) = delete;
    CiPat& operator=(const CiPat&) = delete;

    int GetAttrList(const DsCsr& cursor, DsAttributeList& attributes);
    int ChgAttr(const DsCsr& cursor, const char* name, const char* value);
    int GetMat(const DsCsr& cursor, GeMat44& partMatrix);
    int GetWorkMat(const DsCsr& cursor, GeMat44& workspaceMatrix);
    int Trans(const DsCsr& cursor, const double matrix[4][4], int withSubs, int update);
    int DelInklSubs(const DsCsr& cursor);

private:
    long unit_;
};

class HOST_API CiWork {
public:
    explicit CiWork(long unit);
    ~CiWork();
    CiWork(const CiWork&) = delete;
    CiWork& operator=(const CiWork&) = delete;

    // Leaves in `workspace` the number of the active workspace, 0 for none.
    int Act(unsigned long& workspace);

private:
    long unit_;
};

HOST_API int DsSetActiveWorkspace(unsigned long workspace);
HOST_API int DxSetActiveWorkspace(unsigned long workspace);
