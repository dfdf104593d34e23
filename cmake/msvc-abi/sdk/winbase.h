// Completes Wine's winbase.h with the file information records and flags of
// newer SDKs that the standard library's file system code uses: a file's
// 128-bit identity (FILE_ID_INFO, to tell whether two paths are one file), the
// extended delete disposition, unprivileged symbolic links, and GetTempPath2W
// (looked up at run time, falling back to GetTempPathW). Wine 8's kernel32
// lacks CopyFile2, which stl/CopyFile2.cpp makes in the module itself: Wine's
// declaration, imported from kernel32, is renamed out of the way.
#pragma once
#define CopyFile2 __wine_imported_CopyFile2
#include_next <winbase.h>
#undef CopyFile2

EXTERN_C HRESULT WINAPI CopyFile2(PCWSTR source, PCWSTR target, COPYFILE2_EXTENDED_PARAMETERS* parameters);

#ifndef FILE_DISPOSITION_FLAG_DELETE
typedef struct _FILE_ID_128_RECORD {
    BYTE Identifier[16];
} FILE_ID_128_RECORD;

typedef struct _FILE_ID_INFO {
    ULONGLONG VolumeSerialNumber;
    FILE_ID_128_RECORD FileId;
} FILE_ID_INFO, *PFILE_ID_INFO;

typedef struct _FILE_DISPOSITION_INFO_EX {
    DWORD Flags;
} FILE_DISPOSITION_INFO_EX, *PFILE_DISPOSITION_INFO_EX;

#define FILE_DISPOSITION_FLAG_DO_NOT_DELETE 0x00000000
#define FILE_DISPOSITION_FLAG_DELETE 0x00000001
#define FILE_DISPOSITION_FLAG_POSIX_SEMANTICS 0x00000002
#define FILE_DISPOSITION_FLAG_FORCE_IMAGE_SECTION_CHECK 0x00000004
#define FILE_DISPOSITION_FLAG_ON_CLOSE 0x00000008
#define FILE_DISPOSITION_FLAG_IGNORE_READONLY_ATTRIBUTE 0x00000010
#endif

#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
#define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
#endif

WINBASEAPI DWORD WINAPI GetTempPath2W(DWORD length, LPWSTR buffer);
