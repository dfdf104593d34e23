// Exports that a catalog finishes slowly or oddly, 100 roads of each kind:
// - the record written in pieces (created empty, four pieces 150 ms apart), closed
//   at once after the last piece or 400 ms later;
// - the record in pieces with the catalog ending right after its last piece;
// - a catalog that reopens its record for writing again and again for a second
//   after the take;
// - a catalog that writes its record whole and keeps it open for 3 s;
// - a command (101, 100) or End while the delivery waits for such a catalog.
// Counts the parts that landed with their whole identification, the catalog's
// refused writes, the imports that came on another road than their own, and how
// long after the catalog's last close of the record (or its last write, for a
// record kept open) the watcher queued its event.
#include "Benchmarks.h"

#include "ExportDetection.h"
#include "RoadDriver.h"
#include "SimControl.h"
#include "tarnvelMain.h"

#include <windows.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char* const PARTS[] = {"ISO4017 D=8 L=40", "ISO4032 D=8", "ISO7089 D=8", "ISO2338 D=6 L=30",
                             "DIN625 TYPE=6204"};
constexpr int ROADS = 100;

// The catalog's log lines that mark its last close of the record.
const char* const COMPLETE = "record complete ";
const char* const REOPENED = "record reopened ";
// The log line of a record's last write, when the catalog then keeps it open.
const char* const LAST_PIECE = "record piece 1/1 written";
// A record written whole and kept open for longer than the watcher's bound.
const char* const HELD_OPEN = "fault pieces 1 0 open 3000";
// The bound after the last write within which a held record is delivered, with
// room for the watcher's own steps.
constexpr double HELD_BOUND_MS = 1100;
// What the catalog's file calls say of an open that another handle's sharing refused.
const char* const REFUSED = ", refused: another handle denies sharing";

struct RoadKind {
    const char* name;
    std::vector<std::string> faults;  // armed before each take; an empty entry for none
    const char* lastClose;            // the log line of the record's last close (or last write)
    const char* note;
    bool countWithinBound = false;    // count the events within HELD_BOUND_MS of that line
};

struct MarkedLines {
    int count = 0;
    std::string last;
};

MarkedLines LinesWith(const std::filesystem::path& log, const char* mark)
{
    MarkedLines found;
    std::ifstream in(log, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (line.find(mark) != std::string::npos) {
            ++found.count;
            found.last = line;
        }
    }
    return found;
}

std::optional<MarkedLines> WaitForAnother(const std::filesystem::path& log, const char* mark, int before)
{
    auto deadline = Clock::now() + std::chrono::seconds(5);
    for (;;) {
        MarkedLines found = LinesWith(log, mark);
        if (found.count > before)
            return found;
        if (Clock::now() >= deadline)
            return std::nullopt;
        Sleep(5);
    }
}

// When the catalog logged a line, on the steady clock: the line's local time stamp
// ("YYYY-MM-DD hh:mm:ss.mmm ..."), seen from the local clock now.
std::optional<Clock::time_point> LoggedAt(const std::string& line)
{
    SYSTEMTIME logged{};
    if (std::sscanf(line.c_str(), "%hu-%hu-%hu %hu:%hu:%hu.%hu", &logged.wYear, &logged.wMonth,
                    &logged.wDay, &logged.wHour, &logged.wMinute, &logged.wSecond,
                    &logged.wMilliseconds) != 7)
        return std::nullopt;
    Clock::time_point steadyNow = Clock::now();
    SYSTEMTIME now{};
    GetLocalTime(&now);
    FILETIME loggedTime{};
    FILETIME nowTime{};
    if (!SystemTimeToFileTime(&logged, &loggedTime) || !SystemTimeToFileTime(&now, &nowTime))
        return std::nullopt;
    auto ticks = [](const FILETIME& time) {
        return (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return steadyNow - std::chrono::microseconds((ticks(nowTime) - ticks(loggedTime)) / 10);
}

std::string AttributeOfLastPart(const std::string& name)
{
    for (const sim::Json& pair : sim::Report().at("drawing.objects[-1].attributes").items()) {
        if (pair.items().size() == 2 && pair.items()[0].text() == name)
            return pair.items()[1].text();
    }
    return {};
}

// Refused opens in the catalog's log: each failed write's line, and the count that
// a reopening writer gives when it is done.
long RefusedWrites(const std::filesystem::path& log)
{
    long refused = 0;
    std::ifstream in(log, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        std::size_t reopened = line.find(REOPENED);
        std::size_t opens = line.find(" opens, ");
        if (reopened != std::string::npos && opens != std::string::npos)
            refused += std::strtol(line.c_str() + opens + 8, nullptr, 10);
        else if (line.find(REFUSED) != std::string::npos)
            ++refused;
    }
    return refused;
}

std::string FamilyOf(const std::string& part) { return part.substr(0, part.find(' ')); }

// The catalog names a part's project after its family: ISO4017 is
// "iso4017/iso4017.prj".
bool HasWholeIdentification(const std::string& part)
{
    std::string family = FamilyOf(part);
    std::string folder;
    for (char c : family)
        folder += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return AttributeOfLastPart("TVL_ID0") == folder + "/" + folder + ".prj" &&
           AttributeOfLastPart("TVL_ID1") == family;
}

int FilesIn(const std::filesystem::path& folder)
{
    int count = 0;
    std::error_code error;
    for (auto it = std::filesystem::directory_iterator(folder, error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++count;
    return count;
}


// One kind of road, 100 times in a row. An import of another road's part (the
// families follow each other in a cycle, so neighbours differ) or one that comes
// between roads is late: it came at a moment unrelated to its own export.
void BenchKind(BenchReport& report, RoadDriver& driver, const RoadKind& kind)
{
    int imported = 0;
    int whole = 0;
    int late = 0;
    int deliveredEarly = 0;
    int withinBound = 0;
    long refusedBefore = RefusedWrites(driver.CatalogLog());
    std::vector<double> delay;
    for (int road = 0; road < ROADS; ++road) {
        std::string part = PARTS[road % 5];
        const std::string& fault = kind.faults[static_cast<std::size_t>(road) % kind.faults.size()];
        int closesBefore = LinesWith(driver.CatalogLog(), kind.lastClose).count;
        Clock::time_point importBefore = sim::LastDeferredCallFinished(104);
        sim::RunPending();
        if (sim::LastDeferredCallFinished(104) != importBefore)
            ++late;
        RoadTimes times = driver.Road(part, false, fault);
        if (!times.imported)
            continue;
        ++imported;
        if (HasWholeIdentification(part))
            ++whole;
        else if (AttributeOfLastPart("TVL_ID1") != FamilyOf(part))
            ++late;
        std::optional<MarkedLines> closed = WaitForAnother(driver.CatalogLog(), kind.lastClose, closesBefore);
        std::optional<Clock::time_point> closedAt;
        if (closed)
            closedAt = LoggedAt(closed->last);
        if (!closedAt)
            continue;
        double ms = std::chrono::duration<double, std::milli>(sim::LastHandOverTimes().eventQueued -
                                                               *closedAt)
                        .count();
        if (ms < 0)
            ++deliveredEarly;
        if (ms <= HELD_BOUND_MS)
            ++withinBound;
        delay.push_back(ms);
    }
    std::string prefix = std::string("pieces.") + kind.name + ".";
    std::string count = std::string(kind.note) + "; of " + std::to_string(ROADS) + " roads, " +
                        std::to_string(imported) + " imported: TVL_ID0 and TVL_ID1 as the catalog wrote them";
    report.Add(prefix + "whole_identification", whole, "parts", count);
    report.Add(prefix + "refused_catalog_writes", RefusedWrites(driver.CatalogLog()) - refusedBefore,
               "opens", "the catalog's opens of its files that a sharing conflict refused");
    report.Add(prefix + "late_deliveries", late, "imports", "an import on another road than its own");
    report.Add(prefix + "delivered_before_close", deliveredEarly, "roads",
               "the watcher's event came before the catalog's last close of the record");
    report.AddSpread(prefix + "delivery_after_close", SpreadOf(delay), "ms",
                     "the catalog's last close of the record (log, ms stamps) -> the watcher's event");
    if (kind.countWithinBound)
        report.Add(prefix + "delivered_within_1100ms", withinBound, "parts",
                   "the watcher's event within 1.1 s of the record's last write");
}

// The state that the user's commands (or End) in the window leave.
struct WindowCounts {
    int ownRoad = 0;
    int endWithoutDelivery = 0;
    int otherIdentification = 0;
    int late = 0;
    int stateNotZero = 0;
    int missed = 0;
};

// One road of a record written whole and held open, with a command in the window
// where the delivery waits for the writer: after 101 and 100 the part still lands
// on its own road, after End nothing lands.
void CommandInWindowRoad(RoadDriver& driver, const std::string& part, int command, WindowCounts& counts)
{
    Clock::time_point importBefore = sim::LastDeferredCallFinished(104);
    sim::RunPending();
    if (sim::LastDeferredCallFinished(104) != importBefore)
        ++counts.late;
    importBefore = sim::LastDeferredCallFinished(104);
    int writesBefore = LinesWith(driver.CatalogLog(), LAST_PIECE).count;
    if (!driver.Take(part, HELD_OPEN) || !WaitForAnother(driver.CatalogLog(), LAST_PIECE, writesBefore)) {
        ++counts.missed;
        return;
    }
    // The names are complete well within this, and the record is held far longer.
    sim::RunUntil([] { return false; }, std::chrono::milliseconds(300));
    if (command == 0)
        End();
    else
        driver.Select(command);
    bool imported = sim::RunUntil([&] { return sim::LastDeferredCallFinished(104) != importBefore; },
                                  std::chrono::seconds(command == 0 ? 1 : 5));
    if (ExportDetectionState != 0)
        ++counts.stateNotZero;
    if (command == 0) {
        counts.endWithoutDelivery += !imported;
        return;
    }
    if (!imported)
        ++counts.missed;
    else if (HasWholeIdentification(part))
        ++counts.ownRoad;
    else
        ++counts.otherIdentification;
    sim::RunPending();  // the catalog is asked back for the next part
}

void BenchCommandInWindow(BenchReport& report, RoadDriver& driver)
{
    const int commands[] = {101, 100, 0};
    WindowCounts counts;
    for (int road = 0; road < ROADS; ++road)
        CommandInWindowRoad(driver, PARTS[road % 5], commands[road % 3], counts);
    const std::string prefix = "pieces.command_in_window.";
    report.Add(prefix + "delivered_on_own_road", counts.ownRoad, "parts",
               "101 or 100 in the window: the held export still lands, whole, on its own road");
    report.Add(prefix + "end_without_delivery", counts.endWithoutDelivery, "roads",
               "End in the window: nothing lands");
    report.Add(prefix + "other_identification", counts.otherIdentification, "parts",
               "a part with another export's identification");
    report.Add(prefix + "late_deliveries", counts.late, "imports", "an import between roads");
    report.Add(prefix + "state_not_zero", counts.stateNotZero, "roads", "the detection state after the road");
    report.Add(prefix + "missed", counts.missed, "roads", "a take or an import that did not come");
}

}  // namespace

void BenchPieces(BenchReport& report, const std::filesystem::path& temp)
{
    RoadDriver driver(temp / "exports");
    if (!driver.Ready()) {
        std::printf("  the catalog did not come up; no road measured\n");
        return;
    }
    const RoadKind kinds[] = {
        {"in_pieces", {"fault pieces 4 150", "fault pieces 4 150 open 400"}, COMPLETE,
         "the record in 4 pieces 150 ms apart, closed at once or 400 ms after the last, in turn"},
        {"catalog_ends", {"fault pieces 4 150\nfault quit-after-take"}, COMPLETE,
         "the record in 4 pieces, the catalog ending right after the last"},
        {"reopening_writer", {"fault reopen 1000"}, REOPENED,
         "the record reopened for writing again and again for 1 s after the take"},
        {"held_open", {HELD_OPEN}, LAST_PIECE, "the record written whole and kept open for 3 s", true},
    };
    for (const RoadKind& kind : kinds)
        BenchKind(report, driver, kind);
    BenchCommandInWindow(report, driver);
    report.Add("pieces.export_files_left", FilesIn(driver.ExportDir()), "files", "after the last road");
}
