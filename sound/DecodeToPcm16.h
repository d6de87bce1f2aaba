#pragma once

#include "sound/LoadResult.h"
#include "sound/SoundBuffer.h"

#include <cstdint>
#include <vector>

// Decodes `data` (the raw sound data, sound.dataBytes long, in the format that
// sound.format describes) to 16-bit PCM with the same channels and rate.
// On LoadOK `data` holds the interleaved little-endian PCM, the standard fields
// of sound.format describe it, dataBytes is its length and sampleCount is
// dataBytes / channels / 2. On LoadConversionError or LoadConversionImpossible
// `data` has been released and nothing remains open.
LoadResult DecodeToPcm16(CSoundBuffer& sound, std::vector<std::uint8_t>& data);
