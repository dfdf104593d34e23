// Drives the whole road in this process, as the host does.
#include "RoadDriver.h"

#include "MERIDAX_tarnvel_thread.h"
#include "ProcessProbe.h"
#include "SimControl.h"
#include "automation/CatalogAutomation.h"
#include "tarnvelMain.h"

#include <windows.h>

#include <algorithm>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
const char* const MACRO = ":khd-tarnvel";
// A user takes a part a moment after the catalog shows the command; the watcher
// starts reading 100 ms after each command.
constexpr auto USER_REACTION = std::chrono::milliseconds(300);

double Milliseconds(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

std::filesystem::path CatalogRoot()
{
    wchar_t buffer[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return std::filesystem::path(buffer).parent_path().parent_path() / "catalog";
}

void CallPluginEntry(int functionNumber, GiFunctionArguments* arguments)
{
    int result = 0;
    sim::CallMacro(MACRO, functionNumber, "", arguments, &result);
}

template <class Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout)
{
    auto deadline = Clock::now() + timeout;
    while (!condition()) {
        if (Clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool ScriptHostGone() { return probe::CountCatalogProcesses().scriptHosts == 0; }

// When the catalog began writing the export, on the steady clock: the geometry
// file's creation time, seen from the system clock now.
Clock::time_point WriteStarted(const std::filesystem::path& exportFile)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FILETIME now{};
    Clock::time_point steadyNow = Clock::now();
    GetSystemTimePreciseAsFileTime(&now);
    if (!GetFileAttributesExW(exportFile.wstring().c_str(), GetFileExInfoStandard, &data))
        return steadyNow;
    auto ticks = [](const FILETIME& time) {
        return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    long long ageIn100ns = ticks(now) - ticks(data.ftCreationTime);
    return steadyNow - std::chrono::microseconds(ageIn100ns / 10);
}

long LastPartId()
{
    sim::Json id = sim::Report().at("drawing.objects[-1].id");
    return id.isNull() ? 0 : static_cast<long>(id.number());
}

}  // namespace

RoadDriver::RoadDriver(const std::filesystem::path& exportDir) : exportDir_(exportDir)
{
    std::filesystem::create_directories(exportDir_);
    SetEnvironmentVariableA("KVT_TARNVEL_ROOT_DIR", CatalogRoot().string().c_str());
    SetEnvironmentVariableA("KVT_TARNVEL_EXPORT_DIR", exportDir_.string().c_str());
    SetEnvironmentVariableA("PVESTRA_LOG", CatalogLog().string().c_str());
    sim::SetMacro(MACRO, TarnvelSelect);
    Select(100);
    ready_ = WaitFor([] { return catalog::isCatalogViewerRunning(); }, std::chrono::seconds(15));
}

RoadDriver::~RoadDriver()
{
    Select(101);
    End();
    sim::RunPending();
    sim::SetMacro(MACRO, nullptr);
    WaitFor([] { return CatalogProcessCount() == 0; }, std::chrono::seconds(10));
}

RoadTimes RoadDriver::Road(const std::string& part, bool editLast, const std::string& fault)
{
    RoadTimes times;
    if (editLast)
        SendLastPartBack();
    Clock::time_point importsBefore = sim::LastDeferredCallFinished(104);
    if (!Take(part, fault))
        return times;
    std::filesystem::path exportFile =
        exportDir_ / ("tarnvel_output_" + std::to_string(GetCurrentProcessId()) + ".sat");
    Clock::time_point start = WriteStarted(exportFile);
    times.imported = sim::RunUntil(
        [&] { return sim::LastDeferredCallFinished(104) != importsBefore; }, std::chrono::seconds(10));
    if (!times.imported)
        return times;
    Clock::time_point imported = sim::LastDeferredCallFinished(104);
    times.pauses = MERIDAX_tarnvel_thread::PausesTaken() - pausesBeforeTake_;
    times.tablePauses = MERIDAX_tarnvel_thread::PausesAtLastDeliveryDecision() - pausesBeforeTake_;
    sim::HandOverTimes handOver = sim::LastHandOverTimes();
    times.toWatcher = Milliseconds(start, handOver.eventQueued);
    times.toDelivery = Milliseconds(handOver.eventQueued, handOver.eventDelivered);
    times.toImport = Milliseconds(handOver.eventDelivered, imported);
    times.total = Milliseconds(start, imported);
    sim::RunPending();  // the catalog is asked back for the next part
    return times;
}

bool RoadDriver::Take(const std::string& part, const std::string& fault)
{
    if (!WaitFor(ScriptHostGone, std::chrono::seconds(10)))
        return false;
    // A catalog that ended after its last take (or was closed) may still have
    // been on its way out when the import asked it back: the user opens it again.
    if (!catalog::isCatalogViewerRunning()) {
        Select(100);
        if (!WaitFor([] { return catalog::isCatalogViewerRunning(); }, std::chrono::seconds(15)) ||
            !WaitFor(ScriptHostGone, std::chrono::seconds(10)))
            return false;
    }
    std::this_thread::sleep_for(USER_REACTION);
    for (std::size_t start = 0; start < fault.size();) {
        std::size_t end = std::min(fault.find('\n', start), fault.size());
        if (!catalog::sendCatalogCommand(fault.substr(start, end - start)).ok())
            return false;
        start = end + 1;
    }
    pausesBeforeTake_ = MERIDAX_tarnvel_thread::PausesTaken();
    return catalog::sendCatalogCommand("take " + part).ok();
}

void RoadDriver::Select(int functionNumber) { CallPluginEntry(functionNumber, nullptr); }

void RoadDriver::SendLastPartBack() { SendPartBack(LastPartId()); }

void RoadDriver::SendPartBack(long id)
{
    GiFunctionArguments arguments;
    arguments.arguments["tarnvl_partId"] = std::make_shared<DynamicDataType<_ObObject*>>(sim::FindPart(id));
    CallPluginEntry(102, &arguments);
}

int CatalogProcessCount()
{
    probe::CatalogProcessCount count = probe::CountCatalogProcesses();
    return count.viewers + count.scriptHosts;
}
