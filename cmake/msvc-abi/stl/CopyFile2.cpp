// Completes Wine's kernel32.dll: the standard library's file system code copies
// a file with CopyFile2, which Wine 8 lacks. It is made here over CopyFileW,
// for what the library asks of it: no progress routine, no cancel flag, and
// only the flag that refuses to replace an existing file.
#include <windows.h>

extern "C" HRESULT WINAPI CopyFile2(
    PCWSTR source, PCWSTR target, COPYFILE2_EXTENDED_PARAMETERS* parameters)
{
    const bool failIfExists = parameters && (parameters->dwCopyFlags & COPY_FILE_FAIL_IF_EXISTS);
    if (CopyFileW(source, target, failIfExists))
        return S_OK;
    return HRESULT_FROM_WIN32(GetLastError());
}
