// Exports whose record the catalog writes in pieces: it creates the record empty,
// writes it in four pieces 150 ms apart and closes it, at once or 400 ms after the
// last piece. Counts the parts that landed with their whole identification, and
// measures how long after the catalog's "record complete" the watcher queued its
// event.
#include "Benchmarks.h"

#include "RoadDriver.h"
#include "SimControl.h"

#include <windows.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

const char* const PARTS[] = {"ISO4017 D=8 L=40", "ISO4032 D=8", "ISO7089 D=8", "ISO2338 D=6 L=30",
                             "DIN625 TYPE=6204"};
// Closed right after the last piece, or kept open a while, when no write marks
// the close.
const char* const CLOSED_AT_ONCE = "fault pieces 4 150";
const char* const KEPT_OPEN = "fault pieces 4 150 open 400";
const char* const COMPLETE = "record complete ";

struct CompleteLines {
    int count = 0;
    std::string last;
};

CompleteLines RecordsComplete(const std::filesystem::path& log)
{
    CompleteLines found;
    std::ifstream in(log, std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        if (line.find(COMPLETE) != std::string::npos) {
            ++found.count;
            found.last = line;
        }
    }
    return found;
}

std::optional<CompleteLines> WaitForAnotherComplete(const std::filesystem::path& log, int before)
{
    auto deadline = Clock::now() + std::chrono::seconds(5);
    for (;;) {
        CompleteLines found = RecordsComplete(log);
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

// The catalog names a part's project after its family: ISO4017 is
// "iso4017/iso4017.prj".
bool HasWholeIdentification(const std::string& part)
{
    std::string family = part.substr(0, part.find(' '));
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

}  // namespace

void BenchPieces(BenchReport& report, const std::filesystem::path& temp)
{
    constexpr int roads = 100;
    RoadDriver driver(temp / "exports");
    if (!driver.Ready()) {
        std::printf("  the catalog did not come up; no road measured\n");
        return;
    }
    int imported = 0;
    int whole = 0;
    int deliveredEarly = 0;
    std::vector<double> delay, delayClosedAtOnce, delayKeptOpen;
    for (int road = 0; road < roads; ++road) {
        std::string part = PARTS[road % 5];
        bool keptOpen = road % 2 == 1;
        int completeBefore = RecordsComplete(driver.CatalogLog()).count;
        RoadTimes times = driver.Road(part, false, keptOpen ? KEPT_OPEN : CLOSED_AT_ONCE);
        if (!times.imported)
            continue;
        ++imported;
        if (HasWholeIdentification(part))
            ++whole;
        std::optional<CompleteLines> complete =
            WaitForAnotherComplete(driver.CatalogLog(), completeBefore);
        std::optional<Clock::time_point> completeAt;
        if (complete)
            completeAt = LoggedAt(complete->last);
        if (!completeAt)
            continue;
        Clock::time_point eventQueued = sim::LastHandOverTimes().eventQueued;
        double ms = std::chrono::duration<double, std::milli>(eventQueued - *completeAt).count();
        if (ms < 0)
            ++deliveredEarly;
        delay.push_back(ms);
        (keptOpen ? delayKeptOpen : delayClosedAtOnce).push_back(ms);
    }
    std::string count = "of " + std::to_string(roads) + " roads, " + std::to_string(imported) +
                        " imported: TVL_ID0 and TVL_ID1 as the catalog wrote them";
    report.Add("pieces.whole_identification", whole, "parts", count);
    report.Add("pieces.delivered_before_complete", deliveredEarly, "roads",
               "the watcher's event came before the catalog logged the record complete");
    report.AddSpread("pieces.delivery_after_complete", SpreadOf(delay), "ms",
                     "\"record complete\" in the catalog's log (ms stamps) -> the watcher's event");
    report.AddSpread("pieces.delivery_after_complete_closed_at_once", SpreadOf(delayClosedAtOnce),
                     "ms", "the record closed right after its last piece");
    report.AddSpread("pieces.delivery_after_complete_kept_open", SpreadOf(delayKeptOpen), "ms",
                     "the record kept open 400 ms after its last piece");
    report.Add("pieces.export_files_left", FilesIn(driver.ExportDir()), "files",
               "after the last road");
}
