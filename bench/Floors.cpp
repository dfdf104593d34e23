// The costs that set a floor under the plug-in's figures, measured in the same run.
#include "Floors.h"

#include "MERIDAX_plugin.h"
#include "MERIDAX_tarnvel_thread.h"

#include <windows.h>

#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(const FILETIME& time)
{
    return (static_cast<double>(time.dwHighDateTime) * 4294967296.0 + time.dwLowDateTime) / 1e4;
}

}  // namespace

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return Milliseconds(kernel) + Milliseconds(user);
}

double ProcessCpuMs()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return Milliseconds(kernel) + Milliseconds(user);
}

ScanCost MeasureProcessScan(const MERIDAX_plugin& plugin, int scans)
{
    std::vector<double> samples;
    double cpuBefore = ThreadCpuMs();
    for (int scan = 0; scan < scans; ++scan) {
        auto start = Clock::now();
        plugin.FindCatalogProcesses(Query);
        samples.push_back(MillisecondsSince(start));
    }
    ScanCost cost;
    cost.cpuMs = (ThreadCpuMs() - cpuBefore) / scans;
    cost.wallMs = SpreadOf(samples);
    return cost;
}

Spread MeasureProcessStart(const std::filesystem::path& program, int starts)
{
    std::vector<double> samples;
    std::string application = program.string();
    for (int run = 0; run < starts; ++run) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION started{};
        std::string commandLine = "\"" + application + "\"";
        auto start = Clock::now();
        BOOL created = CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                                      CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started);
        double took = MillisecondsSince(start);
        if (!created)
            continue;
        samples.push_back(took);
        WaitForSingleObject(started.hProcess, 10000);
        CloseHandle(started.hThread);
        CloseHandle(started.hProcess);
    }
    return SpreadOf(samples);
}

Spread MeasureStopTestPause(int pauses)
{
    StopSignal neverGiven;
    std::vector<double> samples;
    for (int pause = 0; pause < pauses; ++pause) {
        auto start = Clock::now();
        MERIDAX_tarnvel_thread::IsStopRequested(neverGiven);
        samples.push_back(MillisecondsSince(start));
    }
    return SpreadOf(samples);
}
