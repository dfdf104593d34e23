// The fuzzer's one source of chance: a small generator whose sequence depends only
// on the seed, so that a run can be repeated exactly from its seed argument.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

class Random {
public:
    explicit Random(std::uint64_t seed) noexcept : state_(seed ^ 0x9E3779B97F4A7C15ull) {}

    // splitmix64: tiny, fast, and the same on every compiler, unlike the
    // standard library's distributions.
    std::uint64_t Next() noexcept
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // A number from 0 to bound - 1; 0 when bound is 0.
    std::size_t Below(std::size_t bound) noexcept { return bound ? Next() % bound : 0; }
    bool OneIn(std::size_t n) noexcept { return Below(n) == 0; }
    char Byte() noexcept { return static_cast<char>(Next() & 0xFF); }

    template <typename Container>
    const auto& Pick(const Container& items) noexcept
    {
        return items[Below(std::size(items))];
    }

private:
    std::uint64_t state_;
};
