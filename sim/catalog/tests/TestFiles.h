// Files for tests: a fresh directory under %TEMP% for one test, removed with
// everything in it when the object goes out of scope (also when the test fails), and
// how another program would find a file that the catalog may still hold open: the
// Win32 error of an attempt to open it (0 when the open worked; the handle is closed
// again at once).
#pragma once

#include <windows.h>

#include <string>

namespace catalog::testing {

class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();

    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    // The directory's path + "\" + name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Open for writing, sharing everything: fails only while someone else writes it
// without sharing write access.
DWORD errorOfOpenForWriting(const std::string& path);

// Open for reading, sharing nothing: fails while anyone else has it open.
DWORD errorOfExclusiveOpen(const std::string& path);

}  // namespace catalog::testing
