// The viewer's automation language: one text command in, one text reply out.
//   take                         take the part shown (as the Take button)
//   take KEY [NAME=VALUE]...     show that part, then take it
//   shown                        "ok <KEY> <NAME=VALUE>..." or "ok none", then a line
//                                break and the status line text
//   command                      "ok " and the options of the last command the viewer
//                                got (its own command line or a handed-over one), as
//                                the log describes them: "... mident=(none) ..." for a
//                                new part
//   fault broken-geometry        the next take writes a malformed geometry file
//   fault hold-geometry          the next take writes half its geometry file and keeps
//                                it open, without a record, until release
//   fault hold-record            the next take holds its record back until release
//   fault pieces [N] [MS] [open MS2 [touch MS3]]
//                                the next take writes its record in N pieces (4), MS
//                                milliseconds (150) apart, and closes it MS2 (0) after
//                                the last; with touch, writes the whole text over it
//                                every MS3 milliseconds while it is kept open
//   release                      finish the held geometry or write the held record now
// Replies start with "ok" or "error <reason>".
#pragma once

#include "common/Mident.h"
#include "viewer/ActionResult.h"
#include "viewer/RecordPieces.h"

#include <string>

namespace catalog {

// What the commands act on; the viewer window implements it, tests fake it.
class ViewerActions {
public:
    virtual ~ViewerActions() = default;
    virtual ActionResult showPart(const std::string& familyKey, const Variables& values) = 0;
    virtual ActionResult take() = 0;
    virtual std::string shownDescription() const = 0;  // "ISO4017 D=8 L=40" or "none"
    virtual std::string statusText() const = 0;
    virtual std::string lastCommand() const = 0;
    virtual void armBrokenGeometry() = 0;
    virtual void armHoldGeometry() = 0;
    virtual void armHoldRecord() = 0;
    virtual void armRecordPieces(const RecordPieces& pieces) = 0;
    virtual void armReopeningWriter(unsigned forMs) = 0;
    virtual void armQuitAfterTake() = 0;
    virtual void armLongRemark(unsigned length) = 0;
    virtual ActionResult releaseHeld() = 0;
};

std::string runAutomationCommand(const std::string& command, ViewerActions& viewer);

}  // namespace catalog
