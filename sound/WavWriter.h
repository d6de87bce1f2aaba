#pragma once

#include "sound/SoundFileWriter.h"

#include <cstdint>
#include <memory>

// The most samples a WAV file holds: its RIFF length, the samples' bytes and
// the 40 bytes after it, fits in 32 bits.
inline constexpr std::int64_t kMostWavSamples = (std::int64_t{0xFFFFFFFF} - 40) / 2;

// The WAV case of SoundFileWriter::Open: a mono 16-bit PCM file with the
// 48-byte header (a 20-byte format body) for `totalSamples` samples at
// `rate`, then the samples little-endian. Null when the header cannot hold
// that many.
std::unique_ptr<SoundFileWriter> OpenWavWriter(int descriptor, std::uint32_t rate, std::int64_t totalSamples);
