// What the script host does with one start request: hand the command to a running
// viewer, or start the viewer and wait for its window. Runs on the program's only
// thread; returns the process exit code.
#pragma once

#include <string>

namespace catalog {

enum ScriptHostExitCode {
    kSuccess = 0,
    kBadCommandLine = 2,
    kBadStartScript = 3,
    kHandOverFailed = 4,
    kViewerStartFailed = 5,
    kViewerWindowTimeout = 6,
    kBusy = 7,
};

int runScriptHost(const std::string& commandLine, const std::string& language,
                  const std::string& catalogRoot);

}  // namespace catalog
