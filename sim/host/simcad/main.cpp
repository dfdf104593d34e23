// simcad: the scriptable host application. Runs a script (a file, or "-" for
// standard input) of host actions against the plug-in; see docs/simcad.md for
// the commands. Exit code: 0 every check held, 1 a check failed, 2 a command
// could not run.
#include "ProcessProbe.h"
#include "Script.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

std::filesystem::path executableDirectory()
{
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return std::filesystem::path(buffer).parent_path();
}

// A fresh, empty folder for this run, removed with everything in it at the end.
class TempDirectory {
public:
    TempDirectory()
    {
        path_ = std::filesystem::temp_directory_path() /
                ("simcad-" + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(GetTickCount64()));
        std::filesystem::create_directories(path_);
    }
    ~TempDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;
    const std::filesystem::path& path() const noexcept { return path_; }

private:
    std::filesystem::path path_;
};

std::string windowsPath(const std::filesystem::path& path)
{
    return path.lexically_normal().make_preferred().u8string();
}

}  // namespace

// simcad --reap: ends every catalog process that a script left behind; exit code 1
// when there was one.
int Reap()
{
    int reaped = probe::TerminateCatalogProcesses();
    if (reaped > 0)
        std::cerr << "simcad: " << reaped << " catalog process(es) left behind, terminated" << std::endl;
    return reaped > 0 ? 1 : 0;
}

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: simcad SCRIPT|- | simcad --reap" << std::endl;
        return 2;
    }
    if (std::string(argv[1]) == "--reap")
        return Reap();
    std::ifstream file;
    std::string scriptName = argv[1];
    if (scriptName != "-") {
        file.open(scriptName);
        if (!file) {
            std::cerr << "simcad: cannot read the script " << scriptName << std::endl;
            return 2;
        }
    }
    TempDirectory temp;
    std::filesystem::path bin = executableDirectory();
    std::filesystem::path here = scriptName == "-" ? std::filesystem::current_path()
                                                   : std::filesystem::absolute(scriptName).parent_path();
    simcad::Script script({
        {"HERE", windowsPath(here)},
        {"BIN", windowsPath(bin)},
        {"TEMP", windowsPath(temp.path())},
        {"CATALOG", windowsPath(bin / ".." / "catalog")},
        {"PID", std::to_string(GetCurrentProcessId())},
    });
    return script.Run(scriptName == "-" ? std::cin : file);
}
