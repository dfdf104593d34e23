// The wait of a decided delivery for the export's writer; see WriterWait.h.
#include "WriterWait.h"

#include "CatalogState.h"
#include "FileBeingWritten.h"
#include "MERIDAX_plugin.h"

#include <algorithm>
#include <atomic>

namespace {

using Clock = WriterWait::Clock;
using std::chrono::milliseconds;

// How long the stamps must have stood still before the watcher looks whether a
// writer holds the files. While an export is under way the stamps are looked at
// every LookInterval through each 100 ms pause, so an export written within the
// first 20 ms of the pause before the table's moment is quiet at that moment. A
// writer that reopens its file again and again is looked at only if it stalls
// this long.
constexpr milliseconds QUIET_SPAN{60};
// The longest that a writer holding a file without changing it holds the delivery
// back, counted from the last change: the watcher's own port wait.
constexpr milliseconds HOLD_BOUND{1000};
// The longest that any writer holds the delivery back, counted from the table's
// decision: one that touches its files more often than HOLD_BOUND would hold
// it for ever otherwise.
constexpr milliseconds DECISION_CAP{2000};
// How old a change can be when its record comes: a pause, and the watcher's own
// steps around it.
constexpr milliseconds RECORD_AGE_LIMIT{120};
// How often the catalog is asked after while a writer holds a file.
constexpr milliseconds CATALOG_CHECK_INTERVAL{100};

std::atomic<long> looksAtWriters{0};

DWORD ToWait(Clock::duration span)
{
    auto ms = std::chrono::ceil<milliseconds>(std::max(span, Clock::duration::zero()));
    return static_cast<DWORD>(ms.count());
}

}  // namespace

WriterWait::WriterWait(const UtCString& exportPath, const UtCString& recordPath, Clock::time_point now)
    : exportPath_(exportPath), recordPath_(recordPath), stamps_(ReadStamps()), lastLook_(now),
      quietSince_(now), decidedAt_(now)
{
}

ExportStamps WriterWait::ReadStamps() const noexcept { return ReadExportStamps(exportPath_, recordPath_); }

void WriterWait::SawStamps(const ExportStamps& stamps, Clock::time_point now) noexcept
{
    if (StampsDiffer(stamps, stamps_)) {
        changedAfter_ = std::max(changedAfter_, lastLook_);
        quietSince_ = now;
        stamps_ = stamps;
    }
    lastLook_ = now;
}

// The watcher has a directory read outstanding at every moment but its pauses,
// and the system keeps the changes of a pause for the next read, so a change
// record tells of a change made at most a pause ago.
void WriterWait::SawChangeRecord(Clock::time_point now) noexcept
{
    changedAfter_ = std::max(changedAfter_, now - RECORD_AGE_LIMIT);
}

// Only the stamps make the files quiet: a change record that a read brings after
// a pause may tell of a write made early in the pause, which a look in the pause
// already saw.
WriterWait::Verdict WriterWait::Judge(Clock::time_point now) noexcept
{
    if (now - changedAfter_ >= HOLD_BOUND || now - decidedAt_ >= DECISION_CAP)
        return Verdict::Deliver;
    if (now - quietSince_ < QUIET_SPAN)
        return Verdict::StillChanging;
    ++looksAtWriters;
    if (IsBeingWritten(exportPath_) || IsBeingWritten(recordPath_))
        return Verdict::HeldOpen;
    return Verdict::Deliver;
}

DWORD WriterWait::WaitBeforeNextJudgement(Clock::time_point now) const noexcept
{
    Clock::duration untilQuiet = quietSince_ + QUIET_SPAN - now;
    Clock::duration wait = untilQuiet > Clock::duration::zero() ? untilQuiet : LookInterval;
    Clock::duration untilBound = std::min(changedAfter_ + HOLD_BOUND, decidedAt_ + DECISION_CAP) - now;
    return ToWait(std::min(wait, untilBound));
}

long WriterWait::LooksAtWriters() noexcept { return looksAtWriters; }

namespace {

constexpr milliseconds LookInterval = WriterWait::LookInterval;

bool CatalogGone(const MERIDAX_plugin& owner) { return owner.FindCatalogProcesses(Query) == NotRunning; }

// A read whose records the system lost tells nothing by itself: the export
// folder may be busy with other files. The look at the stamps that follows every
// read tells whether the export's files changed.
void NoteChanges(DirectoryWatch::Arrival arrival, const DirectoryWatch& directory, WriterWait& writer,
                 const UtCString& exportName)
{
    if (arrival != DirectoryWatch::Arrival::Changes)
        return;
    Clock::time_point now = Clock::now();
    for (const UtCString& name : directory.ChangedNames()) {
        if (name.Contains(exportName))
            writer.SawChangeRecord(now);
    }
}

}  // namespace

void WaitForWriter(DirectoryWatch& directory, WriterWait& writer, const UtCString& exportName,
                   const StopSignal& stop, const MERIDAX_plugin& owner)
{
    Clock::time_point nextCatalogCheck = Clock::now();
    for (;;) {
        if (stop.IsGiven())
            return;
        Clock::time_point now = Clock::now();
        WriterWait::Verdict verdict = writer.Judge(now);
        if (verdict == WriterWait::Verdict::Deliver)
            return;
        if (verdict == WriterWait::Verdict::HeldOpen && now >= nextCatalogCheck) {
            if (CatalogGone(owner))
                return;
            nextCatalogCheck = Clock::now() + CATALOG_CHECK_INTERVAL;
        }
        if (!directory.StartReadIfIdle())
            return;
        DirectoryWatch::Arrival arrival = directory.Wait(writer.WaitBeforeNextJudgement(Clock::now()));
        NoteChanges(arrival, directory, writer, exportName);
        // A writer at work may change its files faster than they need looking
        // at; the system keeps the changes for the next read meanwhile.
        if (arrival == DirectoryWatch::Arrival::Changes || arrival == DirectoryWatch::Arrival::LostChanges)
            Sleep(ToWait(now + LookInterval - Clock::now()));
        writer.LookAtStamps(Clock::now());
    }
}
