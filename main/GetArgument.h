// Reads one named, typed value from a host argument list.
#pragma once

#include "GiFunctionArguments.h"

#include <stdexcept>

// True and `value` set when the list has the name; false and `value` untouched
// when it has not. A value of another type than T throws "wrong type specified!",
// which no caller catches: it reaches the host.
template <class T>
bool GetArgument(const GiFunctionArguments& arguments, const UtCString& name, T& value)
{
    auto entry = arguments.arguments.lower_bound(name);
    if (entry == arguments.arguments.end() || name < entry->first)
        return false;
    auto typed = dynamic_cast<const DynamicDataType<T>*>(entry->second.get());
    if (!typed)
        throw std::runtime_error("wrong type specified!");
    value = typed->value;
    return true;
}
