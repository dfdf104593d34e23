// Whether another process still holds a file open for writing; see FileBeingWritten.h.
#include "FileBeingWritten.h"

#include "UniqueHandle.h"

#include <windows.h>

bool IsBeingWritten(const UtCString& path) noexcept
{
    // The look wants read access: an open that asks only for attributes takes no
    // part in sharing, and so would never be refused.
    UniqueHandle look(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (look)
        return false;
    return GetLastError() == ERROR_SHARING_VIOLATION;
}
