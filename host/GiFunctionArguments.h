// The host's argument list of a macro function call: named, typed values.
#pragma once

#include "HostApi.h"
#include "UtCString.h"

#include <map>
#include <memory>

// Base of every typed argument value; the concrete type is found by dynamic_cast.
class HOST_API DynamicDataTypeBase {
public:
    virtual ~DynamicDataTypeBase();
};

template <class T>
class DynamicDataType : public DynamicDataTypeBase {
public:
    explicit DynamicDataType(T held) : value(held) {}
    T value;
};

class HOST_API GiFunctionArguments {
public:
    using ArgumentMap = std::map<UtCString, std::shared_ptr<DynamicDataTypeBase>>;

    GiFunctionArguments();
    virtual ~GiFunctionArguments();

    ArgumentMap arguments;
};

// The argument list of the macro function call now running. Returns 0 and sets
// `arguments` while a call runs; non-zero (and `arguments` untouched) otherwise.
HOST_API int GiFuncGetActFunctionArguments(GiFunctionArguments*& arguments);
