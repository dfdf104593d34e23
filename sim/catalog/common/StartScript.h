// Reading the start script (setup\scripts\common\startvestra_tarnvel.vbb): the
// script host only needs its "viewer=<path>" line; comment lines start with ' or #.
#pragma once

#include <string>

namespace catalog {

struct StartScript {
    std::string viewerPath;  // as written: relative to the catalog root, or absolute
    std::string error;       // empty on success
    bool ok() const { return error.empty(); }
};

StartScript parseStartScript(const std::string& text);

StartScript readStartScript(const std::string& path);

}  // namespace catalog
