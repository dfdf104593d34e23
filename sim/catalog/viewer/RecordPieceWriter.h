// Writes one record file in pieces (see RecordPieces.h), one step at a time, so that
// the viewer's UI thread can do the steps on a timer and stay responsive meanwhile:
//   create()  the file, empty and open (write access not shared);
//   step()    the next piece; after the last piece, while it is kept open, the
//             next touch (the whole text written over it from the start) when the
//             plan has touches; once the time to keep it open has passed, closes
//             it (at once when there is none);
//   finishNow() everything left, then closes.
// pauseBeforeStepMs() says how long to wait before the next step. The file stays
// open, and so incomplete to anyone who looks, until the writer closes it.
#pragma once

#include "viewer/OpenWriteFile.h"
#include "viewer/RecordPieces.h"

#include <cstddef>
#include <string>

namespace catalog {

class RecordPieceWriter {
public:
    RecordPieceWriter(std::string path, std::string text, RecordPieces plan);

    // Each returns "" or an error; after an error the file is closed.
    std::string create();
    std::string step();
    std::string finishNow();

    bool isOpen() const { return file_.isOpen(); }
    unsigned pauseBeforeStepMs() const;

    const std::string& path() const { return path_; }
    const RecordPieces& plan() const { return plan_; }
    unsigned piecesWritten() const { return piecesWritten_; }
    unsigned touchesDone() const { return touchesDone_; }
    // How many touches the plan makes while the file is kept open.
    unsigned touches() const;
    size_t bytesWritten() const { return pieceEnd(piecesWritten_); }
    size_t size() const { return text_.size(); }

private:
    size_t pieceEnd(unsigned piece) const;
    std::string writeNextPiece();

    std::string path_;
    std::string text_;
    RecordPieces plan_;
    OpenWriteFile file_;
    unsigned piecesWritten_ = 0;
    unsigned touchesDone_ = 0;
};

}  // namespace catalog
