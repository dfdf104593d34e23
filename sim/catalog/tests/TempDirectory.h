// A fresh directory under %TEMP% for one test, removed with everything in it when
// the object goes out of scope (also when the test fails).
#pragma once

#include <string>

namespace catalog::testing {

class TempDirectory {
public:
    TempDirectory();
    ~TempDirectory();

    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& path() const { return path_; }
    // path() + "\" + name
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

}  // namespace catalog::testing
