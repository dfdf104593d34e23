// Writing a record in pieces; see RecordPieceWriter.h.
#include "viewer/RecordPieceWriter.h"

#include <utility>

namespace catalog {

RecordPieceWriter::RecordPieceWriter(std::string path, std::string text, RecordPieces plan)
    : path_(std::move(path)), text_(std::move(text)), plan_(plan) {
    if (plan_.count == 0) plan_.count = 1;
}

std::string RecordPieceWriter::create() {
    piecesWritten_ = 0;
    touchesDone_ = 0;
    return file_.create(path_);
}

size_t RecordPieceWriter::pieceEnd(unsigned piece) const {
    return text_.size() * piece / plan_.count;
}

std::string RecordPieceWriter::writeNextPiece() {
    const size_t begin = pieceEnd(piecesWritten_);
    const size_t end = pieceEnd(piecesWritten_ + 1);
    std::string error = file_.write(text_.substr(begin, end - begin));
    if (!error.empty()) {
        file_.close();
        return error;
    }
    ++piecesWritten_;
    return {};
}

std::string RecordPieceWriter::step() {
    if (!file_.isOpen()) return "the record is not open";
    if (piecesWritten_ < plan_.count) {
        std::string error = writeNextPiece();
        if (!error.empty()) return error;
        if (piecesWritten_ < plan_.count || plan_.keepOpenMs > 0) return {};
    } else if (touchesDone_ < touches()) {
        std::string error = file_.writeFromStart(text_);
        if (!error.empty()) {
            file_.close();
            return error;
        }
        ++touchesDone_;
        return {};
    }
    file_.close();
    return {};
}

std::string RecordPieceWriter::finishNow() {
    while (file_.isOpen() && piecesWritten_ < plan_.count) {
        std::string error = writeNextPiece();
        if (!error.empty()) return error;
    }
    file_.close();
    return {};
}

unsigned RecordPieceWriter::touches() const {
    return plan_.touchMs == 0 ? 0 : plan_.keepOpenMs / plan_.touchMs;
}

unsigned RecordPieceWriter::pauseBeforeStepMs() const {
    if (piecesWritten_ < plan_.count) return plan_.pauseMs;
    if (touchesDone_ < touches()) return plan_.touchMs;
    return plan_.keepOpenMs - touches() * plan_.touchMs;
}

}  // namespace catalog
