// Whether a file was written after a given moment; see FileChangedSince.h.
#include "FileChangedSince.h"

FILETIME SystemTimeNow() noexcept
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return now;
}

bool FileChangedSince(const UtCString& path, const FILETIME& moment) noexcept
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    return CompareFileTime(&data.ftLastWriteTime, &moment) > 0;
}
