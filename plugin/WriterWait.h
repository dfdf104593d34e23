// How long a delivery that the detection table has decided waits for the
// export's writer. A catalog may create its record empty and fill it in several
// writes; the change records of the creation and the first write already
// complete the names, and delivering then would import half a record. The table
// decides whether and which export is delivered; this wait decides only when, and
// within a bound:
// - at once when the files' stamps have stood still for a quiet span and neither
//   file is open for writing: an export written and closed before the table's
//   moment is delivered at that moment;
// - a writer still at work (its stamps move) is not looked at, since the look
//   itself would refuse the writer's open while it lasts; one that holds a file
//   open without changing it holds the delivery back until it closes the file,
//   and at the latest until one port wait (1 s) after the last change the
//   watcher saw of the files (none seen: no wait);
// - whatever the writer does, the delivery goes 2 s after the table's decision
//   at the latest, so a writer that touches its files again and again cannot
//   hold it for ever;
// - a stop ends the wait at once; so does a catalog found gone, which is asked
//   after every 100 ms while a writer holds a file.
// The stamps can only say "look now", never "complete": an open writer's
// last-write time may lag, and only the look tells a writer that holds the file.
//
// Runs on the watcher thread.
#pragma once

#include "DirectoryWatch.h"
#include "FileStamp.h"
#include "StopSignal.h"
#include "UtCString.h"

#include <windows.h>

#include <chrono>

class MERIDAX_plugin;

class WriterWait {
public:
    using Clock = std::chrono::steady_clock;
    enum class Verdict { Deliver, StillChanging, HeldOpen };
    // How often the stamps are looked at while an export is under way, and a
    // held file looked at again.
    static constexpr std::chrono::milliseconds LookInterval{20};

    WriterWait(const UtCString& exportPath, const UtCString& recordPath, Clock::time_point now);

    ExportStamps ReadStamps() const noexcept;
    // What a look at the stamps found. The watcher looks when it starts, after
    // each directory read and, while an export is under way, every LookInterval
    // through each pause, so that an export written early in a pause is known to
    // be quiet when the pause ends.
    void SawStamps(const ExportStamps& stamps, Clock::time_point now) noexcept;
    void LookAtStamps(Clock::time_point now) noexcept { SawStamps(ReadStamps(), now); }
    // A change record of an export file came.
    void SawChangeRecord(Clock::time_point now) noexcept;
    // The detection table decided the delivery: the cap counts from here.
    void Decided(Clock::time_point now) noexcept { decidedAt_ = now; }

    Verdict Judge(Clock::time_point now) noexcept;
    // How long to wait for changes before judging again.
    DWORD WaitBeforeNextJudgement(Clock::time_point now) const noexcept;

    // How many looks whether a writer holds the files were made so far, by all
    // watchers: tests use it to see that such a moment is over.
    static long LooksAtWriters() noexcept;

private:
    UtCString exportPath_;
    UtCString recordPath_;
    ExportStamps stamps_;
    Clock::time_point lastLook_;
    // Since when the stamps have stood still.
    Clock::time_point quietSince_;
    // The last change seen came after this moment; the clock's epoch while
    // this watcher has seen none.
    Clock::time_point changedAfter_;
    Clock::time_point decidedAt_;
};

// Waits until the decided delivery is to go: the writer is done, the bound has
// passed, the stop signal is given, the catalog is gone, or the directory can no
// longer be read. Keeps the directory read going, to see the writer's changes.
void WaitForWriter(DirectoryWatch& directory, WriterWait& writer, const UtCString& exportName,
                   const StopSignal& stop, const MERIDAX_plugin& owner);
