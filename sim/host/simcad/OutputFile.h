// Writing a file that a simcad command makes (a parts list, a picture) in one go.
#pragma once

#include <string>

namespace simcad {

// Writes the bytes as the whole file, replacing what was there; false, with the
// reason in `error`, when the file cannot be written completely.
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace simcad
