// What is asked of the catalog processes, and what was found of them.
#pragma once

// The request given to the catalog process inspection.
enum CatalogMode : int {
    Query = 0,  // only report the state
    Close = 1,  // ask every catalog window to quit, then end every viewer process
    Raise = 2,  // bring every catalog window to the foreground
};

// Which of the catalog's two programs run.
enum CatalogState : int {
    ScriptHostOnly = 0,  // a catalog start is in progress
    ViewerOnly = 1,
    Both = 2,
    NotRunning = 3,  // also the result after a completed close
};
