#pragma once

#include "ringing/Row.h"

#include <cstdint>

class CSoundBuffer;

inline constexpr std::uint32_t kDemoBellRate = 44100;

// Synthesises demo bell `index` (0 = bell 1, the highest) into `bell`: two
// seconds of a struck bell at `rate` samples per second, mono 16-bit, peaking
// at -3 dBFS, with its onset found, state 1 and a fileName naming it. The
// sixteen bells descend a major scale from bell 1 (nominal C6, 1046.5 Hz),
// so that bells 1 to 8 ring a whole octave. The same index and rate always
// give the same samples. False, with `bell` unchanged, for an index outside
// 0..15, a rate below 8000, or when memory cannot be had.
bool MakeDemoBell(int index, CSoundBuffer& bell, std::uint32_t rate = kDemoBellRate);
