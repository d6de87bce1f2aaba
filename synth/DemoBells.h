#pragma once

#include <cstdint>

class CSoundBuffer;

inline constexpr int kDemoBellCount = 16;
inline constexpr std::uint32_t kDemoBellRate = 44100;

// Synthesises demo bell `index` (0 = bell 1, the highest) into `bell`: about
// two seconds of a struck bell at kDemoBellRate, mono 16-bit, with its onset
// found and state 1. The sixteen bells form a descending major scale.
// False when memory cannot be had.
bool MakeDemoBell(int index, CSoundBuffer& bell);
