// Process start; see ProcessStart.h.
#include "scripthost/ProcessStart.h"

#include "common/FileIo.h"

#include <vector>

namespace catalog {

StartedProcess startProcess(const std::string& commandLine, const std::string& workingDirectory) {
    StartedProcess started;
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingDirectory.empty() ? nullptr : workingDirectory.c_str(), &startup,
                        &info)) {
        started.error = "cannot start " + commandLine + ": " + lastErrorText();
        return started;
    }
    UniqueHandle thread(info.hThread);
    started.process.reset(info.hProcess);
    started.processId = info.dwProcessId;
    return started;
}

}  // namespace catalog
