// Whether a file was written between two looks; see FileStamp.h.
#include "FileStamp.h"

FileStamp ReadFileStamp(const UtCString& path) noexcept
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return {};
    return {true, data.ftLastWriteTime};
}

bool WrittenSince(const FileStamp& now, const FileStamp& before) noexcept
{
    return now.present && StampsDiffer(now, before);
}

bool StampsDiffer(const FileStamp& one, const FileStamp& other) noexcept
{
    if (one.present != other.present)
        return true;
    return one.present && CompareFileTime(&one.lastWrite, &other.lastWrite) != 0;
}

ExportStamps ReadExportStamps(const UtCString& exportPath, const UtCString& recordPath) noexcept
{
    return {ReadFileStamp(exportPath), ReadFileStamp(recordPath)};
}

bool StampsDiffer(const ExportStamps& one, const ExportStamps& other) noexcept
{
    return StampsDiffer(one.geometry, other.geometry) || StampsDiffer(one.record, other.record);
}
