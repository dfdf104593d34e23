// Starting a child program and owning its process handle.
#pragma once

#include "common/UniqueHandle.h"

#include <windows.h>

#include <string>

namespace catalog {

struct StartedProcess {
    UniqueHandle process;
    DWORD processId = 0;
    std::string error;  // empty on success
    bool ok() const { return error.empty(); }
};

// Starts `commandLine` (program path quoted first) in `workingDirectory`; the child
// inherits our environment (MERIDAX_LANGUAGE).
StartedProcess startProcess(const std::string& commandLine, const std::string& workingDirectory);

}  // namespace catalog
