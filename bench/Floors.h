// The costs that set a floor under the plug-in's figures, measured in the same
// run as the figures compared with them: one scan of the process list, one start
// of a small program, and the watcher's 100 ms stop test pause.
#pragma once

#include "BenchReport.h"

#include <chrono>
#include <filesystem>

class MERIDAX_plugin;

struct ScanCost {
    Spread wallMs;     // one scan, from the call to its return
    double cpuMs = 0;  // this thread's CPU time per scan, over all the scans
};

// Scans the process list as the watcher does at each port time-out
// (FindCatalogProcesses(Query)).
ScanCost MeasureProcessScan(const MERIDAX_plugin& plugin, int scans);

// CreateProcessA of `program` without arguments and without a window, as the
// plug-in starts the catalog's script host: from the call to its return. Each
// process is waited for after its time is taken.
Spread MeasureProcessStart(const std::filesystem::path& program, int starts);

// The watcher's stop test on a signal never given: its pause, as it sleeps it.
Spread MeasureStopTestPause(int pauses);

// This thread's CPU time (kernel and user) so far, in milliseconds.
double ThreadCpuMs();
// This process's CPU time (kernel and user) so far, in milliseconds.
double ProcessCpuMs();

// Milliseconds between two moments of the steady clock.
double MillisecondsSince(std::chrono::steady_clock::time_point start);
