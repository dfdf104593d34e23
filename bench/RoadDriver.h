// Drives the whole road in this process, as the host does: the plug-in's logic
// linked in, the host stand-in's main loop, the real catalog stand-in. Each road
// is one take in the catalog, timed from the catalog's first write of the export
// to the tagged part.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>

struct RoadTimes {
    bool imported = false;
    double toWatcher = 0;   // the catalog's first write -> the watcher queued its event (ms)
    double toDelivery = 0;  // event queued -> OnSynchronize started (ms)
    double toImport = 0;    // OnSynchronize -> import finished (ms)
    double total = 0;       // the catalog's first write -> import finished (ms)
    long pauses = 0;        // the watcher's 100 ms pauses during the road
    long tablePauses = 0;   // of those, the pauses before the detection table said "deliver"
};

class RoadDriver {
public:
    // Points the plug-in at the catalog stand-in beside this program and at a fresh
    // export folder, and opens the catalog.
    explicit RoadDriver(const std::filesystem::path& exportDir);
    // Closes the catalog and shuts the plug-in down.
    ~RoadDriver();
    RoadDriver(const RoadDriver&) = delete;
    RoadDriver& operator=(const RoadDriver&) = delete;

    bool Ready() const { return ready_; }
    // Takes a part ("ISO4017 D=8 L=40"); with `editLast`, first sends the last
    // imported part back to the catalog, so that the take replaces it. Faults
    // ("fault pieces 4 150", several on lines of their own) are armed in the
    // catalog right before the take. A catalog that has ended is opened again.
    RoadTimes Road(const std::string& part, bool editLast, const std::string& fault = "");
    // The first half of a road: the catalog ready and the user's moment passed,
    // the faults armed and the part taken; false when the catalog did not answer.
    bool Take(const std::string& part, const std::string& fault = "");
    // Has the host call the plug-in's macro entry with this function number now, as
    // the user's command does.
    void Select(int functionNumber);
    // Sends the last part in the drawing, or the part of that id, back to the
    // catalog (function 102), as the user does with a placed part.
    void SendLastPartBack();
    void SendPartBack(long id);
    const std::filesystem::path& ExportDir() const { return exportDir_; }
    // The catalog's log, which it writes with a local time stamp on each line.
    std::filesystem::path CatalogLog() const { return exportDir_.parent_path() / "catalog.log"; }

private:
    bool ready_ = false;
    std::filesystem::path exportDir_;
    long pausesBeforeTake_ = 0;
};

// How many catalog programs run.
int CatalogProcessCount();
