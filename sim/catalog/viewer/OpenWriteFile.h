// A file the viewer keeps open for writing across several writes, as a catalog does
// while it is still producing it. The handle shares read access only: readers may
// look at what is there so far, but nobody else can open the file for writing (or
// exclusively) until it is closed. Killing the process closes it with whatever was
// written by then.
#pragma once

#include "common/UniqueHandle.h"

#include <string>

namespace catalog {

class OpenWriteFile {
public:
    OpenWriteFile() = default;

    // Creates (or empties) the file and keeps it open. Returns "" or an error.
    std::string create(const std::string& path);

    // Appends `content` with one WriteFile. Returns "" or an error.
    std::string write(const std::string& content);
    // Writes `content` over the file from its start with one WriteFile, the file
    // still open. Returns "" or an error.
    std::string writeFromStart(const std::string& content);

    void close() { file_.reset(); }
    bool isOpen() const { return file_.valid(); }

private:
    UniqueFileHandle file_;
};

}  // namespace catalog
