// The host's drawing objects and the cursor that points at one. Objects belong to
// the drawing; the integration only ever holds pointers to them.
#pragma once

#include "HostApi.h"
#include "UtCString.h"

#include <vector>

// Host type code of a library part.
constexpr short OB_TYPE_LIBRARY_PART = 200;

// Only the first field is public: the object's host type code. The rest of the
// object is the host's own.
struct _ObObject {
    short type;
};

// Deepest object path a cursor can hold.
constexpr int DS_CURSOR_DEPTH = 16;

// A path of objects from the top of the drawing down to the object meant.
struct DS_CURSOR_STRUCT {
    _ObObject* path[DS_CURSOR_DEPTH];
    int count;
};

class DsCsr : public DS_CURSOR_STRUCT {
public:
    DsCsr() : DS_CURSOR_STRUCT{{}, 0} {}
    explicit DsCsr(_ObObject* object) : DS_CURSOR_STRUCT{{object}, object ? 1 : 0} {}
};

// One attribute of a drawing object.
struct DsAttribute {
    UtCString name;
    UtCString value;
};
using DsAttributeList = std::vector<DsAttribute>;

// The definition of an attribute name: reports 0 and its format when the host
// knows the name, non-zero otherwise.
HOST_API int DsAttrGetFormat(const char* name, int* type, int* visibility, int* length,
                             int* flags);
// Defines an attribute name; returns 0 on success.
HOST_API int DsAttrSetDef(const char* name, int type, int visibility, int length, int flags,
                          const char* definitionName);
