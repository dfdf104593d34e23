// How another program would find a file that the catalog may still hold open: the
// Win32 error of an attempt to open it for writing or exclusively (0 when the open
// worked; the handle is closed again at once).
#pragma once

#include <windows.h>

#include <string>

namespace catalog::testing {

// Open for writing, sharing everything: fails only while someone else writes it
// without sharing write access.
DWORD errorOfOpenForWriting(const std::string& path);

// Open for reading, sharing nothing: fails while anyone else has it open.
DWORD errorOfExclusiveOpen(const std::string& path);

}  // namespace catalog::testing
