// The host's settings and system services. Settings come from the process
// environment, and for OsGetEnvOrLocalMachine also from the machine's registry
// (HKLM\Software\Brenvik\Environment). The system shell is not run: the command
// line is recorded, so that scripts can see what would have been started.
#include "UtSystem.h"

#include "Journal.h"
#include "SimControl.h"

#include <windows.h>

#include <atomic>
#include <cstring>

namespace {

std::atomic<bool> mode2d{false};

bool environmentValue(const UtCString& name, std::string& value)
{
    DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size <= 1)
        return false;
    std::string buffer(size, '\0');
    DWORD length = GetEnvironmentVariableA(name.c_str(), &buffer[0], size);
    buffer.resize(length);
    value = buffer;
    return !value.empty();
}

bool machineValue(const UtCString& name, std::string& value)
{
    char buffer[UT_MAX_PATH] = {};
    DWORD size = sizeof buffer;
    LSTATUS status = RegGetValueA(HKEY_LOCAL_MACHINE, "Software\\Brenvik\\Environment",
                                  name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size);
    if (status != ERROR_SUCCESS || buffer[0] == '\0')
        return false;
    value = buffer;
    return true;
}

}  // namespace

UtCString OsGetEnvDflt(const UtCString& name, const UtCString& dflt)
{
    std::string value;
    return environmentValue(name, value) ? UtCString(value) : dflt;
}

UtCString OsGetEnvOrLocalMachine(const UtCString& name, const UtCString& dflt)
{
    std::string value;
    if (environmentValue(name, value) || machineValue(name, value))
        return UtCString(value);
    return dflt;
}

int UtIsFile(const UtCString& path)
{
    DWORD attributes = GetFileAttributesW(path.ustring().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

UtCString UtGetTempDir()
{
    char buffer[MAX_PATH + 1] = {};
    GetTempPathA(sizeof buffer, buffer);
    return UtCString::StandardizePath(UtCString(buffer));
}

void UtJoinPathFile(const UtCString& folder, const UtCString& file, char* out)
{
    std::string joined = folder.string();
    if (!joined.empty() && joined.back() != '\\' && joined.back() != '/')
        joined += '\\';
    joined += file.string();
    std::size_t count = joined.size() < std::size_t(UT_MAX_PATH - 1) ? joined.size()
                                                                      : std::size_t(UT_MAX_PATH - 1);
    std::memcpy(out, joined.data(), count);
    out[count] = '\0';
}

int UtCadIsMe2d() { return mode2d ? 1 : 0; }

int UtSystem(const UtCString& commandLine)
{
    sim::Journal::instance().addSystemCommand(commandLine.string());
    return 0;
}

namespace sim {

void SetMode2d(bool on) { mode2d = on; }

}  // namespace sim
