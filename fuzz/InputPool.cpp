// See InputPool.h.
#include "InputPool.h"

#include <algorithm>

namespace {

std::uint32_t Capped(std::size_t count) { return static_cast<std::uint32_t>(std::min<std::size_t>(count, 15)); }

// The number of bits of the size, at most 31, so that a shape fits in 18 bits.
std::uint32_t SizeClass(std::size_t size)
{
    std::uint32_t bits = 0;
    while (size >>= 1)
        ++bits;
    return std::min<std::uint32_t>(bits, 31);
}

}  // namespace

void InputPool::AddSeed(const std::string& input)
{
    inputs_.push_back(input);
    bytes_ += input.size();
    seedCount_ = inputs_.size();
}

void InputPool::Offer(const std::string& input, const ParsedRecord& record, bool identified)
{
    std::uint32_t shape = Capped(record.attributes.size()) | Capped(record.pieces.size()) << 4 |
                          Capped(record.variables.size()) << 8 | (identified ? 1u : 0u) << 12 |
                          SizeClass(input.size()) << 13;
    if (shapesSeen_[shape] || input.size() > byteBudget_ / 4)
        return;
    shapesSeen_[shape] = true;
    // Over budget, a random kept mutant (never a seed) makes room.
    while (bytes_ + input.size() > byteBudget_ && inputs_.size() > seedCount_) {
        std::size_t victim = seedCount_ + random_.Below(inputs_.size() - seedCount_);
        bytes_ -= inputs_[victim].size();
        inputs_[victim].swap(inputs_.back());
        inputs_.pop_back();
    }
    if (bytes_ + input.size() <= byteBudget_) {
        inputs_.push_back(input);
        bytes_ += input.size();
    }
}
