// Files for tests: a fresh directory under %TEMP%, removed with its contents at the
// end of scope, and the Win32 error (0 for none) another program's open would meet.
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

    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Open for writing, sharing everything.
DWORD errorOfOpenForWriting(const std::string& path);

// Open for reading, sharing nothing.
DWORD errorOfExclusiveOpen(const std::string& path);

}  // namespace catalog::testing
