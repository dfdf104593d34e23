// A file kept open for writing; see OpenWriteFile.h.
#include "viewer/OpenWriteFile.h"

#include "common/FileIo.h"

#include <windows.h>

namespace catalog {

std::string OpenWriteFile::create(const std::string& path) {
    file_.reset(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) return "cannot create " + path + ": " + lastErrorText();
    return {};
}

std::string OpenWriteFile::write(const std::string& content) {
    if (!file_) return "the file is not open";
    DWORD written = 0;
    if (!WriteFile(file_.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
        written != content.size()) {
        return "cannot write: " + lastErrorText();
    }
    return {};
}

std::string OpenWriteFile::writeFromStart(const std::string& content) {
    if (!file_) return "the file is not open";
    if (SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
        return "cannot seek: " + lastErrorText();
    }
    return write(content);
}

}  // namespace catalog
