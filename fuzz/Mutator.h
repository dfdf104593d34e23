// Turns a record text into a damaged variant: bit flips, byte and run edits, the
// record's own tokens, long runs of one character, line edits, splices with another
// input and truncation. Every choice comes from the Random it is given.
#pragma once

#include "Random.h"

#include <cstddef>
#include <string>

class Mutator {
public:
    Mutator(Random& random, std::size_t maxSize) : random_(random), maxSize_(maxSize) {}

    // Applies one to eight mutations; `other` is material for splices.
    void Mutate(std::string& input, const std::string& other);

private:
    void MutateOnce(std::string& input, const std::string& other);
    void FlipBit(std::string& input);
    void ReplaceByte(std::string& input);
    void InsertBytes(std::string& input);
    void DeleteRun(std::string& input);
    void OverwriteRun(std::string& input);
    void InsertToken(std::string& input);
    void InsertLongRun(std::string& input);
    void DuplicateLine(std::string& input);
    void DeleteLine(std::string& input);
    void SwapLines(std::string& input);
    void Splice(std::string& input, const std::string& other);
    void Truncate(std::string& input);
    void CopyRun(std::string& input);

    std::size_t Position(const std::string& input) { return random_.Below(input.size() + 1); }
    // A run length that favours short runs but sometimes reaches far.
    std::size_t RunLength(std::size_t limit);
    void InsertAt(std::string& input, std::size_t at, const std::string& text);
    // The line around `at`: its first character and the one after its LF.
    void LineAround(const std::string& input, std::size_t at, std::size_t& first, std::size_t& end);

    Random& random_;
    std::size_t maxSize_;
};
