// How a slow catalog writes its export record: it creates the file, keeps it open,
// writes the text in several pieces with pauses, and may keep it open a while after
// the last piece before it closes it, writing the same text over it again and again
// meanwhile.
#pragma once

namespace catalog {

struct RecordPieces {
    unsigned count = 4;       // pieces of about equal size
    unsigned pauseMs = 150;   // after the creation and between two pieces
    unsigned keepOpenMs = 0;  // after the last piece, before the file is closed
    unsigned touchMs = 0;     // while kept open: the whole text written over it this often (0: never)

    bool operator==(const RecordPieces& other) const {
        return count == other.count && pauseMs == other.pauseMs && keepOpenMs == other.keepOpenMs &&
               touchMs == other.touchMs;
    }
};

}  // namespace catalog
