// Exports that a catalog finishes slowly or oddly, 100 roads of each kind
// (TARNVEL_PIECES_ROADS to change):
// - the record written in pieces (created empty, four pieces 150 ms apart), closed
//   at once after the last piece or 400 ms later;
// - the record in pieces with the catalog ending right after its last piece;
// - a catalog that reopens its record for writing again and again for a second
//   after the take;
// - a catalog that writes its record whole and keeps it open for 3 s, also while
//   another program floods the export folder with files;
// - a catalog that keeps its whole record open for 5 s and writes it over every
//   200 ms meanwhile;
// - a command (100, 101, 102 on another part or on the part being replaced), End
//   or an unload while the delivery waits for such a catalog.
// Counts the parts that landed with their whole identification, the catalog's
// refused writes, the imports that came on another road than their own, and how
// long after the catalog's last close of the record (or its last write, for a
// record kept open, or the table's decision, for one written over) the watcher
// queued its event; for the commands, the roads whose net outcome was not that of
// the delivery at the table's moment followed by the command.
#include "Benchmarks.h"

#include "ExportDetection.h"
#include "FolderFlood.h"
#include "MERIDAX_plugin.h"
#include "MERIDAX_tarnvel_thread.h"
#include "ProcessProbe.h"
#include "RoadDriver.h"
#include "SimControl.h"
#include "automation/CatalogAutomation.h"
#include "tarnvelMain.h"

#include <windows.h>

#include <algorithm>
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
// The roads of each kind: TARNVEL_PIECES_ROADS, 100 by default.
int Roads()
{
    const char* value = std::getenv("TARNVEL_PIECES_ROADS");
    int roads = value ? std::atoi(value) : 0;
    return roads > 0 ? roads : 100;
}

// The catalog's log lines that mark its last close of the record.
const char* const COMPLETE = "record complete ";
const char* const REOPENED = "record reopened ";
// The log line of a record's last write, when the catalog then keeps it open.
const char* const LAST_PIECE = "record piece 1/1 written";
// A record written whole and kept open for longer than the watcher's bound.
const char* const HELD_OPEN = "fault pieces 1 0 open 3000";
// A record written whole, kept open and written over every 200 ms, for longer
// than the watcher's cap.
const char* const STEADY_WRITER = "fault pieces 1 0 open 5000 touch 200";
// The bound after the last write within which a held record is delivered, and
// the cap after the table's decision, each with room for the watcher's own steps.
constexpr double HELD_BOUND_MS = 1100;
constexpr double DECISION_CAP_MS = 2100;
// How long the other program floods the export folder on each road: from before
// the take until well after the bound.
constexpr unsigned FLOOD_MS = 2500;
// What the catalog's file calls say of an open that another handle's sharing refused.
const char* const REFUSED = ", refused: another handle denies sharing";

struct RoadKind {
    const char* name;
    std::vector<std::string> faults;  // armed before each take; an empty entry for none
    const char* lastClose;            // the log line of the record's last close (or last write);
                                      // null: measured from the table's decision
    const char* note;
    double countWithin = 0;           // count the events within this many ms of that moment
    bool flood = false;               // another program floods the export folder meanwhile
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
std::string ProjectOf(const std::string& part)
{
    std::string folder;
    for (char c : FamilyOf(part))
        folder += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return folder + "/" + folder + ".prj";
}

bool HasWholeIdentification(const std::string& part)
{
    return AttributeOfLastPart("TVL_ID0") == ProjectOf(part) && AttributeOfLastPart("TVL_ID1") == FamilyOf(part);
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


// A take and its import, the host's main loop run in steps of a few milliseconds
// meanwhile so that the moment the detection table decided is seen.
struct Delivery {
    bool imported = false;
    std::optional<Clock::time_point> decidedAt;
};

Delivery TakeAndImport(RoadDriver& driver, const std::string& part, const std::string& fault)
{
    Delivery delivery;
    Clock::time_point importBefore = sim::LastDeferredCallFinished(104);
    long decisionBefore = MERIDAX_tarnvel_thread::PausesAtLastDeliveryDecision();
    if (!driver.Take(part, fault))
        return delivery;
    auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!delivery.imported && Clock::now() < deadline) {
        delivery.imported = sim::RunUntil(
            [&] { return sim::LastDeferredCallFinished(104) != importBefore; }, std::chrono::milliseconds(2));
        if (!delivery.decidedAt && MERIDAX_tarnvel_thread::PausesAtLastDeliveryDecision() != decisionBefore)
            delivery.decidedAt = Clock::now();
    }
    sim::RunPending();  // the catalog is asked back for the next part
    return delivery;
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
    int within = 0;
    long flooded = 0;
    long refusedBefore = RefusedWrites(driver.CatalogLog());
    std::vector<double> delay;
    for (int road = 0; road < Roads(); ++road) {
        std::string part = PARTS[road % 5];
        const std::string& fault = kind.faults[static_cast<std::size_t>(road) % kind.faults.size()];
        int closesBefore = kind.lastClose ? LinesWith(driver.CatalogLog(), kind.lastClose).count : 0;
        Clock::time_point importBefore = sim::LastDeferredCallFinished(104);
        sim::RunPending();
        if (sim::LastDeferredCallFinished(104) != importBefore)
            ++late;
        std::optional<FolderFlood> flood;
        if (kind.flood)
            flood.emplace(driver.ExportDir(), FLOOD_MS);
        Delivery delivery = TakeAndImport(driver, part, fault);
        if (flood)
            flooded += flood->Finish();
        if (!delivery.imported)
            continue;
        ++imported;
        if (HasWholeIdentification(part))
            ++whole;
        else if (AttributeOfLastPart("TVL_ID1") != FamilyOf(part))
            ++late;
        std::optional<Clock::time_point> from = delivery.decidedAt;
        if (kind.lastClose) {
            std::optional<MarkedLines> closed = WaitForAnother(driver.CatalogLog(), kind.lastClose, closesBefore);
            from = closed ? LoggedAt(closed->last) : std::nullopt;
        }
        if (!from)
            continue;
        double ms = std::chrono::duration<double, std::milli>(sim::LastHandOverTimes().eventQueued - *from)
                        .count();
        if (ms < 0)
            ++deliveredEarly;
        if (ms <= kind.countWithin)
            ++within;
        delay.push_back(ms);
    }
    std::string prefix = std::string("pieces.") + kind.name + ".";
    std::string count = std::string(kind.note) + "; of " + std::to_string(Roads()) + " roads, " +
                        std::to_string(imported) + " imported: TVL_ID0 and TVL_ID1 as the catalog wrote them";
    report.Add(prefix + "whole_identification", whole, "parts", count);
    report.Add(prefix + "refused_catalog_writes", RefusedWrites(driver.CatalogLog()) - refusedBefore,
               "opens", "the catalog's opens of its files that a sharing conflict refused");
    report.Add(prefix + "late_deliveries", late, "imports", "an import on another road than its own");
    if (kind.lastClose) {
        report.Add(prefix + "delivered_before_close", deliveredEarly, "roads",
                   "the watcher's event came before the catalog's last close of the record");
        report.AddSpread(prefix + "delivery_after_close", SpreadOf(delay), "ms",
                         "the catalog's last close of the record (log, ms stamps) -> the watcher's event");
    } else {
        report.AddSpread(prefix + "delivery_after_decision", SpreadOf(delay), "ms",
                         "the detection table's decision (seen by the main loop) -> the watcher's event");
    }
    std::string withinMs = std::to_string(static_cast<int>(kind.countWithin));
    if (kind.countWithin > 0)
        report.Add(prefix + "delivered_within_" + withinMs + "ms", within, "parts",
                   std::string("the watcher's event within ") + withinMs + " ms of " +
                       (kind.lastClose ? "the record's last write" : "the table's decision"));
    if (kind.flood)
        report.Add(prefix + "flood_files_per_road", static_cast<double>(flooded) / Roads(), "files",
                   "files the other program wrote into the export folder on each road");
}

// The user's command in the window where a decided delivery waits for its writer.
enum class Command { Open, Close, EditOther, EditSame, End, Unload };
const struct {
    Command command;
    const char* name;
} COMMANDS[] = {{Command::Open, "100"},         {Command::Close, "101"},  {Command::EditOther, "102 other"},
                {Command::EditSame, "102 same"}, {Command::End, "End"},   {Command::Unload, "unload"}};

// The part that stays in the drawing through every road, sent back to the
// catalog by "102 other"; it is none of PARTS.
const char* const STAYING_PART = "ISO4017 D=10 L=50";

struct WindowCounts {
    int judged = 0;
    int wrongOutcome = 0;
    int notInWindow = 0;
    int late = 0;
    int stateNotZero = 0;
    int missed = 0;
};

long LastPartId()
{
    sim::Json id = sim::Report().at("drawing.objects[-1].id");
    return id.isNull() ? 0 : static_cast<long>(id.number());
}

// The model identification that the plug-in sends for a part ("ISO4032 D=8"):
// "{$iso4032/iso4032.prj},ISO4032  {D=8}".
std::string MidentOf(const std::string& part)
{
    std::string family = FamilyOf(part);
    std::string mident = "{$" + ProjectOf(part) + "}," + family + " ";
    for (std::size_t start = family.size(); start < part.size();) {
        std::size_t end = std::min(part.find(' ', start + 1), part.size());
        mident += (start == family.size() ? " {" : ",{") + part.substr(start + 1, end - start - 1) + "}";
        start = end;
    }
    return mident;
}

// The mident of the catalog's last command, "(none)" for a new part; empty when
// the catalog does not answer.
std::string CatalogsLastMident()
{
    catalog::AutomationReply reply = catalog::sendCatalogCommand("command");
    std::size_t from = reply.reply.find(" mident=");
    std::size_t to = reply.reply.find(" language=");
    if (!reply.ok() || from == std::string::npos || to == std::string::npos)
        return {};
    return reply.reply.substr(from + 8, to - from - 8);
}

// What the host and the catalog show after a road, against what the delivery at
// the table's moment followed by the command must leave: the import in the
// edited part's place (none after End or an unload), then the command.
std::string WrongInOutcome(Command command, long edited, long staying, const std::string& part,
                           std::size_t readsBefore, std::size_t partsBefore, long teardownEventsBefore)
{
    bool imports = command != Command::End && command != Command::Unload;
    sim::Json report = sim::Report();
    std::string wrong;
    auto expect = [&](bool holds, const char* what) {
        if (!holds)
            wrong += std::string(wrong.empty() ? "" : ", ") + what;
    };
    expect(report.at("reads").size() == readsBefore + (imports ? 1 : 0), "reads");
    expect(!imports || report.at("reads[-1].mode").number() == 9, "read mode");
    expect(report.at("drawing.objects").size() == partsBefore, "parts in the drawing");
    expect((sim::FindPart(edited) == nullptr) == imports, "the edited part replaced or kept");
    expect(sim::FindPart(staying) != nullptr, "the other part kept");
    expect(!imports || HasWholeIdentification(part), "the new part's identification");
    expect(report.at("messages").size() == 0, "no notice");
    expect(sim::EventsQueuedInTeardown() == teardownEventsBefore, "no event queued in teardown");
    bool catalogRuns = command == Command::Open || command == Command::EditOther || command == Command::EditSame;
    expect(catalog::isCatalogViewerRunning() == catalogRuns, "catalog running at the end");
    if (catalogRuns) {
        std::string mident = command == Command::Open        ? "(none)"
                             : command == Command::EditOther ? MidentOf(STAYING_PART)
                                                             : MidentOf(part);
        expect(CatalogsLastMident() == mident, "the catalog's last command");
    }
    return wrong;
}

void GiveCommand(RoadDriver& driver, Command command, long edited, long staying)
{
    switch (command) {
    case Command::Open:
        driver.Select(100);
        break;
    case Command::Close:
        driver.Select(101);
        break;
    case Command::EditOther:
        driver.SendPartBack(staying);
        break;
    case Command::EditSame:
        driver.SendPartBack(edited);
        break;
    case Command::End:
        sim::SetPluginTeardown(true);
        End();
        sim::SetPluginTeardown(false);
        break;
    case Command::Unload:
        sim::SetPluginTeardown(true);
        tarnvel::DestroyPluginAtUnload(tarnvel::UnloadKind::LibraryUnload);
        sim::SetPluginTeardown(false);
        break;
    }
}

// One road: the part `edited` sent back, changed in the catalog, which writes the
// record whole and holds it open; the command 300 ms after the write, inside the
// window where the delivery waits for the writer. Only a road whose command came
// in that window is judged. Returns the part to edit on the next road: the edited
// one, or the one that took its place.
long CommandInWindowRoad(RoadDriver& driver, int road, long edited, long staying, WindowCounts& counts)
{
    Command command = COMMANDS[road % 6].command;
    std::string part = PARTS[road % 5];
    Clock::time_point importBefore = sim::LastDeferredCallFinished(104);
    sim::RunPending();
    if (sim::LastDeferredCallFinished(104) != importBefore)
        ++counts.late;
    importBefore = sim::LastDeferredCallFinished(104);
    Main();
    sim::ClearReport();
    driver.SendPartBack(edited);
    int writesBefore = LinesWith(driver.CatalogLog(), LAST_PIECE).count;
    if (!driver.Take(part, HELD_OPEN) || !WaitForAnother(driver.CatalogLog(), LAST_PIECE, writesBefore)) {
        ++counts.missed;
        return edited;
    }
    // The names are complete well within this, and the record is held far longer.
    sim::RunUntil(nullptr, std::chrono::milliseconds(300));
    bool inWindow = g_plugin && g_plugin->watcher && g_plugin->watcher->DeliveryWaiting() &&
                    sim::QueuedEvents() == 0 && sim::LastDeferredCallFinished(104) == importBefore;
    std::size_t readsBefore = sim::Report().at("reads").size();
    std::size_t partsBefore = sim::Report().at("drawing.objects").size();
    long teardownEventsBefore = sim::EventsQueuedInTeardown();
    GiveCommand(driver, command, edited, staying);
    bool imports = command != Command::End && command != Command::Unload;
    // After End or an unload the watcher has ended with the plug-in object: no
    // event can come any more.
    bool imported = imports && sim::RunUntil([&] { return sim::LastDeferredCallFinished(104) != importBefore; },
                                             std::chrono::seconds(5));
    sim::RunPending();
    bool catalogEnds = !imports || command == Command::Close;
    auto settled = [&] {
        return probe::CountCatalogProcesses().scriptHosts == 0 && (!catalogEnds || CatalogProcessCount() == 0);
    };
    sim::RunUntil(settled, std::chrono::seconds(10));
    if (ExportDetectionState != 0)
        ++counts.stateNotZero;
    if (imports && !imported) {
        ++counts.missed;
    } else if (!inWindow) {
        ++counts.notInWindow;
    } else {
        ++counts.judged;
        std::string wrong =
            WrongInOutcome(command, edited, staying, part, readsBefore, partsBefore, teardownEventsBefore);
        if (!wrong.empty()) {
            ++counts.wrongOutcome;
            std::printf("  command_in_window road %d (%s): %s\n", road, COMMANDS[road % 6].name, wrong.c_str());
        }
    }
    return sim::FindPart(edited) ? edited : LastPartId();
}

void BenchCommandInWindow(BenchReport& report, RoadDriver& driver)
{
    WindowCounts counts;
    long staying = TakeAndImport(driver, STAYING_PART, "").imported ? LastPartId() : 0;
    long edited = TakeAndImport(driver, PARTS[4], "").imported ? LastPartId() : 0;
    for (int road = 0; road < Roads() && staying && edited; ++road)
        edited = CommandInWindowRoad(driver, road, edited, staying, counts);
    const std::string prefix = "pieces.command_in_window.";
    report.Add(prefix + "wrong_outcome", counts.wrongOutcome, "roads",
               "of " + std::to_string(counts.judged) +
                   " judged (100, 101, 102 on another part, 102 on the same part, End, unload in turn): "
                   "not the outcome of the import at the table's moment, then the command");
    report.Add(prefix + "not_in_window", counts.notInWindow, "roads",
               "the delivery no longer waited when the command came: not judged");
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
        {"held_open", {HELD_OPEN}, LAST_PIECE, "the record written whole and kept open for 3 s", HELD_BOUND_MS},
        {"busy_folder", {HELD_OPEN}, LAST_PIECE,
         "the record written whole and kept open for 3 s, another program flooding the export folder",
         HELD_BOUND_MS, true},
        {"steady_writer", {STEADY_WRITER}, nullptr,
         "the record written whole, kept open for 5 s and written over every 200 ms", DECISION_CAP_MS},
    };
    for (const RoadKind& kind : kinds)
        BenchKind(report, driver, kind);
    BenchCommandInWindow(report, driver);
    report.Add("pieces.export_files_left", FilesIn(driver.ExportDir()), "files", "after the last road");
}
