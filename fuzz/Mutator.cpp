// Mutations of record texts; see Mutator.h.
#include "Mutator.h"

#include <algorithm>

namespace {

// The words the parser looks for, and the characters that separate its fields.
const char* const TOKENS[] = {
    "[Attributes]", "[MIDENT]", "MIDENT=", "{", "}", "=", ",", " ", "\r\n", "\n", "\r", "{$",
    "}}", "{$p},t ", "{A=1}", "{L=", "\x1a", "TVL", "[Attributes]\n", "[MIDENT]\nMIDENT=",
};

// Bytes with a meaning to a text-mode reader, a C string or a code page.
const char INTERESTING_BYTES[] = {'\0', '\x1a', '\r', '\n', '\x7f', '\x80', '\xff', '{', '}', '=', ',', ' ', '$'};

const char RUN_CHARACTERS[] = {'{', '}', '=', ',', ' ', 'a', '9', '\n', '\r', '[', '$', '\0'};

// Lengths around the limits the code has or had: the host's 255, the length up to
// which variable fields were once matched by a regular expression (1000), the
// reader's 4096-byte chunks.
const std::size_t RUN_LENGTHS[] = {255, 256, 999, 1000, 1001, 4095, 4096, 4097, 10000, 100000};

}  // namespace

void Mutator::Mutate(std::string& input, const std::string& other)
{
    std::size_t count = 1 + random_.Below(8);
    for (std::size_t i = 0; i < count; ++i)
        MutateOnce(input, other);
    if (input.size() > maxSize_)
        input.resize(maxSize_);
}

void Mutator::MutateOnce(std::string& input, const std::string& other)
{
    switch (random_.Below(14)) {
    case 0: FlipBit(input); break;
    case 1: ReplaceByte(input); break;
    case 2: InsertBytes(input); break;
    case 3: DeleteRun(input); break;
    case 4: OverwriteRun(input); break;
    case 5: InsertToken(input); break;
    case 6: InsertLongRun(input); break;
    case 7: DuplicateLine(input); break;
    case 8: DeleteLine(input); break;
    case 9: SwapLines(input); break;
    case 10: Splice(input, other); break;
    case 11: Truncate(input); break;
    case 12: CopyRun(input); break;
    default: InsertToken(input); break;
    }
}

std::size_t Mutator::RunLength(std::size_t limit)
{
    std::size_t length = random_.OneIn(4) ? 1 + random_.Below(64) : 1 + random_.Below(8);
    return std::min(length, limit);
}

void Mutator::InsertAt(std::string& input, std::size_t at, const std::string& text)
{
    if (input.size() + text.size() <= maxSize_)
        input.insert(at, text);
    else if (input.size() < maxSize_)
        input.insert(at, text.substr(0, maxSize_ - input.size()));
}

void Mutator::LineAround(const std::string& input, std::size_t at, std::size_t& first, std::size_t& end)
{
    std::size_t previous = at == 0 ? std::string::npos : input.rfind('\n', at - 1);
    first = previous == std::string::npos ? 0 : previous + 1;
    std::size_t lineEnd = input.find('\n', at);
    end = lineEnd == std::string::npos ? input.size() : lineEnd + 1;
}

void Mutator::FlipBit(std::string& input)
{
    if (!input.empty())
        input[random_.Below(input.size())] ^= static_cast<char>(1u << random_.Below(8));
}

void Mutator::ReplaceByte(std::string& input)
{
    if (input.empty())
        return;
    input[random_.Below(input.size())] = random_.OneIn(2) ? random_.Pick(INTERESTING_BYTES) : random_.Byte();
}

void Mutator::InsertBytes(std::string& input)
{
    std::string bytes(RunLength(64), '\0');
    for (char& byte : bytes)
        byte = random_.OneIn(3) ? random_.Pick(INTERESTING_BYTES) : random_.Byte();
    InsertAt(input, Position(input), bytes);
}

void Mutator::DeleteRun(std::string& input)
{
    if (input.empty())
        return;
    std::size_t at = random_.Below(input.size());
    input.erase(at, RunLength(input.size() - at));
}

void Mutator::OverwriteRun(std::string& input)
{
    if (input.empty())
        return;
    std::size_t at = random_.Below(input.size());
    std::size_t length = RunLength(input.size() - at);
    char byte = random_.Pick(INTERESTING_BYTES);
    for (std::size_t i = at; i < at + length; ++i)
        input[i] = random_.OneIn(2) ? byte : random_.Byte();
}

void Mutator::InsertToken(std::string& input)
{
    std::string token = random_.Pick(TOKENS);
    if (random_.OneIn(3))
        token += '\n';
    // At a line start now and then, where the section headers count.
    std::size_t at = Position(input);
    if (random_.OneIn(2)) {
        std::size_t first = 0, end = 0;
        LineAround(input, std::min(at, input.size()), first, end);
        at = first;
    }
    InsertAt(input, at, token);
}

void Mutator::InsertLongRun(std::string& input)
{
    std::size_t length = random_.OneIn(3) ? 1 + random_.Below(100000) : random_.Pick(RUN_LENGTHS);
    InsertAt(input, Position(input), std::string(length, random_.Pick(RUN_CHARACTERS)));
}

void Mutator::DuplicateLine(std::string& input)
{
    if (input.empty())
        return;
    std::size_t first = 0, end = 0;
    LineAround(input, random_.Below(input.size()), first, end);
    std::string line = input.substr(first, end - first);
    std::size_t copies = random_.OneIn(8) ? 1 + random_.Below(100) : 1;
    std::string repeated;
    for (std::size_t i = 0; i < copies; ++i)
        repeated += line;
    InsertAt(input, random_.OneIn(2) ? end : Position(input), repeated);
}

void Mutator::DeleteLine(std::string& input)
{
    if (input.empty())
        return;
    std::size_t first = 0, end = 0;
    LineAround(input, random_.Below(input.size()), first, end);
    input.erase(first, end - first);
}

void Mutator::SwapLines(std::string& input)
{
    if (input.empty())
        return;
    std::size_t firstA = 0, endA = 0, firstB = 0, endB = 0;
    LineAround(input, random_.Below(input.size()), firstA, endA);
    LineAround(input, random_.Below(input.size()), firstB, endB);
    if (firstA == firstB)
        return;
    if (firstB < firstA) {
        std::swap(firstA, firstB);
        std::swap(endA, endB);
    }
    std::string a = input.substr(firstA, endA - firstA);
    std::string b = input.substr(firstB, endB - firstB);
    input = input.substr(0, firstA) + b + input.substr(endA, firstB - endA) + a + input.substr(endB);
}

void Mutator::Splice(std::string& input, const std::string& other)
{
    std::size_t cut = Position(input);
    std::size_t from = random_.Below(other.size() + 1);
    if (random_.OneIn(2)) {
        // At line boundaries, so that whole sections move.
        std::size_t first = 0, end = 0;
        LineAround(input, std::min(cut, input.size()), first, end);
        cut = first;
        LineAround(other, std::min(from, other.size()), first, end);
        from = first;
    }
    input = input.substr(0, cut) + other.substr(from);
}

void Mutator::Truncate(std::string& input)
{
    input.resize(random_.Below(input.size() + 1));
}

void Mutator::CopyRun(std::string& input)
{
    if (input.empty())
        return;
    std::size_t at = random_.Below(input.size());
    std::string run = input.substr(at, RunLength(input.size() - at));
    InsertAt(input, Position(input), run);
}
