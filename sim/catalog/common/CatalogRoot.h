// Where the catalog installation lives. Both programs sit in <root>\bin\x86\64, so
// the root is three directories above the running executable.
#pragma once

#include <string>

namespace catalog {

// Directory of the running .exe, without trailing backslash.
std::string executableDirectory();

// Three levels above executableDirectory().
std::string catalogRootFromExecutable();

// <root>\catalog.log, or the file named by the environment variable PVESTRA_LOG
std::string catalogLogPath(const std::string& root);

// Joins a directory and a relative path with one backslash; an absolute path
// (drive letter or leading backslash) is returned unchanged.
std::string joinPath(const std::string& directory, const std::string& relative);

// Directory part of a path ("" when there is none).
std::string parentDirectory(const std::string& path);

}  // namespace catalog
