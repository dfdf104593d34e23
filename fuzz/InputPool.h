// The inputs the fuzzer mutates: the seeds, plus mutants that gave a result of a
// shape not seen before (how many attributes, pieces and variables, whether an
// identification was found, the size class). Kept under a byte budget, and the
// shapes seen in a table made once, so the pool itself never makes the memory grow.
#pragma once

#include "Random.h"
#include "RecordChecks.h"

#include <cstdint>
#include <string>
#include <vector>

class InputPool {
public:
    InputPool(Random& random, std::size_t byteBudget) : random_(random), byteBudget_(byteBudget) {}

    void AddSeed(const std::string& input);
    // Keeps the input when its result has a new shape.
    void Offer(const std::string& input, const ParsedRecord& record, bool identified);
    // The smaller of two random inputs: large inputs stay in play, but most of the
    // time goes to many small ones.
    const std::string& Pick()
    {
        const std::string& a = inputs_[random_.Below(inputs_.size())];
        const std::string& b = inputs_[random_.Below(inputs_.size())];
        return a.size() <= b.size() ? a : b;
    }
    std::size_t size() const noexcept { return inputs_.size(); }
    bool empty() const noexcept { return inputs_.empty(); }

private:
    static constexpr std::size_t SHAPE_COUNT = std::size_t(1) << 18;  // 4+4+4+1+5 bits

    Random& random_;
    std::size_t byteBudget_;
    std::size_t seedCount_ = 0;
    std::size_t bytes_ = 0;
    std::vector<std::string> inputs_;
    // One bit per possible shape. A tree node per new shape, allocated between the
    // parser's short-lived blocks, kept Wine's heap from joining its free blocks
    // again: private bytes grew some 15 MB a minute while the live bytes stayed flat.
    std::vector<bool> shapesSeen_ = std::vector<bool>(SHAPE_COUNT);
};
