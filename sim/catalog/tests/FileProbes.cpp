// File open probes; see FileProbes.h.
#include "tests/FileProbes.h"

#include "common/UniqueHandle.h"

namespace catalog::testing {

namespace {

DWORD errorOfOpen(const std::string& path, DWORD access, DWORD sharing) {
    UniqueFileHandle file(CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? 0 : GetLastError();
}

}  // namespace

DWORD errorOfOpenForWriting(const std::string& path) {
    return errorOfOpen(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
}

DWORD errorOfExclusiveOpen(const std::string& path) { return errorOfOpen(path, GENERIC_READ, 0); }

}  // namespace catalog::testing
