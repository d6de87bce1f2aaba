#include "synth/StrikeRandom.h"

// A 64-bit linear congruential generator (Knuth's MMIX constants), seeded
// through one SplitMix64 step so that nearby seeds give unrelated sequences.
// Its top 15 bits are uniform over 0..32767.
StrikeRandom::StrikeRandom(std::uint32_t seed)
{
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    state = z ^ (z >> 31);
}

std::int32_t StrikeRandom::Next()
{
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<std::int32_t>(state >> 49);
}
