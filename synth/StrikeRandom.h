#pragma once

#include <cstdint>

// The striking-error generator: the same sequence for the same seed on every
// platform and compiler. Next and NextNormal advance one shared state.
class StrikeRandom {
public:
    explicit StrikeRandom(std::uint32_t seed);
    std::int32_t Next();  // uniform over 0..32767

    // A standard normal draw (mean 0, standard deviation 1) by the polar
    // method over 53-bit uniform draws. Built from IEEE-exact arithmetic
    // alone (+ - * /, square root, and a logarithm of its own compiled
    // without fused multiply-adds), so every host with IEEE doubles gives
    // the same values, bit for bit. Draws two or more steps of the state.
    double NextNormal();

private:
    std::uint64_t Step();

    std::uint64_t state;
};

// The seed used unless one is given, so that every run repeats the same striking.
inline constexpr std::uint32_t kDefaultStrikeSeed = 1;
