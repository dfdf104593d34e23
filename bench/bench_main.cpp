// tarnvel_bench: measures the plug-in's speed and resource figures under Wine and
// prints them as a table; with a path argument also writes them as JSON. Figures
// are measured, never judged: no benchmark fails on a time.
//   tarnvel_bench [--only SECTION] [JSON_PATH]
//   sections: parse, watcher, road, pieces, soak, user, unload
//   tarnvel_bench --flood FOLDER MS: the other program of the pieces section,
//   which floods a folder with files (FolderFlood.h)
// The soak's number of roads comes from TARNVEL_SOAK_ROADS (default 1000), the
// unload's number of cycles of each kind from TARNVEL_UNLOAD_CYCLES (default 200),
// the pieces section's roads of each kind from TARNVEL_PIECES_ROADS (default 100).
#include "Benchmarks.h"
#include "FolderFlood.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "--flood") == 0)
        return FloodFolder(argv[2], static_cast<unsigned>(std::strtoul(argv[3], nullptr, 10)));
    std::string only;
    std::string jsonPath;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc)
            only = argv[++i];
        else
            jsonPath = argv[i];
    }
    std::filesystem::path temp = std::filesystem::temp_directory_path() /
                                 ("tarnvel-bench-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(temp);

    BenchReport report;
    auto run = [&](const char* name, void (*section)(BenchReport&, const std::filesystem::path&)) {
        if (!only.empty() && only != name)
            return;
        std::printf("%s:\n", name);
        std::fflush(stdout);
        std::filesystem::create_directories(temp / name);
        section(report, temp / name);
    };
    run("parse", BenchParse);
    run("watcher", BenchWatcher);
    run("road", BenchRoad);
    run("pieces", BenchPieces);
    run("soak", BenchSoak);
    run("user", BenchUser);
    run("unload", BenchUnload);

    report.Print();
    std::error_code ignored;
    std::filesystem::remove_all(temp, ignored);
    if (!jsonPath.empty() && !report.WriteJson(jsonPath)) {
        std::fprintf(stderr, "tarnvel_bench: cannot write %s\n", jsonPath.c_str());
        return 2;
    }
    return 0;
}
