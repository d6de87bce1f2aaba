#pragma once

#include "sound/DecodeToPcm16.h"

#include <cstdint>
#include <vector>

// Traps unless a decode of a sound described by `source` kept the decoder's
// contract: a failure is 7 or 8 with the data released; a success is 16-bit
// PCM of the source's channels and rate, dataBytes long, holding
// sampleCount whole frames, and no more frames than a fact count allows.
inline void CheckDecodeContract(const WaveFormat& source, LoadResult result, const CSoundBuffer& sound,
                                const std::vector<std::uint8_t>& data)
{
    if (result != LoadOK) {
        if ((result != LoadConversionError && result != LoadConversionImpossible) || !data.empty())
            __builtin_trap();
        return;
    }
    const std::uint64_t frameBytes = 2u * source.channels;
    if (sound.format.formatTag != 1 || sound.format.channels != source.channels ||
        sound.format.sampleRate != source.sampleRate || sound.format.bitsPerSample != 16 || data.empty() ||
        data.size() != sound.dataBytes || data.size() % frameBytes != 0 ||
        static_cast<std::uint64_t>(sound.sampleCount) != data.size() / frameBytes)
        __builtin_trap();
    if (sound.factSamples && static_cast<std::uint64_t>(sound.sampleCount) > *sound.factSamples)
        __builtin_trap();
}
