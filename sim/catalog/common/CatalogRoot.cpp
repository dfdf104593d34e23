// Locating the catalog root; see CatalogRoot.h.
#include "common/CatalogRoot.h"

#include <windows.h>

#include <vector>

namespace catalog {

std::string executableDirectory() {
    std::vector<char> buffer(MAX_PATH);
    while (true) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            return parentDirectory(std::string(buffer.data(), length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string catalogRootFromExecutable() {
    std::string root = executableDirectory();
    for (int level = 0; level < 3; ++level) root = parentDirectory(root);
    return root;
}

// A test or demo may give each run a log of its own through the environment,
// which the viewer inherits from the script host and the script host from the CAD
// application.
std::string catalogLogPath(const std::string& root) {
    char buffer[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("PVESTRA_LOG", buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) return buffer;
    return joinPath(root, "catalog.log");
}

std::string joinPath(const std::string& directory, const std::string& relative) {
    const bool absolute = (relative.size() > 1 && relative[1] == ':') ||
                          (!relative.empty() && (relative[0] == '\\' || relative[0] == '/'));
    if (absolute || directory.empty()) return relative;
    const char last = directory.back();
    return (last == '\\' || last == '/') ? directory + relative : directory + "\\" + relative;
}

std::string parentDirectory(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

}  // namespace catalog
