#pragma once

#include <cstdint>

// The striking-error generator: integers uniform over 0..32767, the same
// sequence for the same seed on every platform and compiler.
class StrikeRandom {
public:
    explicit StrikeRandom(std::uint32_t seed);
    std::int32_t Next();  // 0..32767

private:
    std::uint64_t state;
};

// The seed used unless one is given, so that every run repeats the same striking.
inline constexpr std::uint32_t kDefaultStrikeSeed = 1;
