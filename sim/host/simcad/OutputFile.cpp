// Writes the files that simcad commands make.
#include "OutputFile.h"

#include <filesystem>
#include <fstream>

namespace simcad {

bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string& error)
{
    std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
    if (!out) {
        error = "cannot write " + path;
        return false;
    }
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        error = "could not write all of " + path;
        return false;
    }
    return true;
}

}  // namespace simcad
