// Writes an input's bytes, unchanged, as the record file the parser reads.
#pragma once

#include <string>

// False when the file could not be written whole.
bool WriteRecordFile(const std::wstring& path, const std::string& bytes);
// The bytes of a file; false when it cannot be read.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);
