#pragma once

#include "sound/BinaryFile.h"
#include "sound/LoadResult.h"
#include "sound/SoundBuffer.h"

#include <cstdint>
#include <string>

// A RIFF chunk header as it stands in the file.
struct ChunkHeader {
    char id[4] = {};
    std::uint32_t length = 0;  // body length in bytes, without the pad byte
};

// Walks chunk headers from the file's current position until one carries
// `id` (four characters, compared byte for byte). Skips each other chunk's
// body and its pad byte when the length is odd. On success `out` holds the
// header and the file stands at the first byte of the body.
bool FindChunk(BinaryFile& file, const char id[4], ChunkHeader& out);

// Reads a WAV file's headers into `sound` (format, dataBytes, sampleCount,
// factSamples), from the file's start. Returns LoadOK, LoadBadWav,
// LoadNoData, LoadNoRiff, LoadBadFormatChunk or LoadConversionError. On
// LoadOK the file stands at the first data byte. The format chunk's body (16
// to 56 bytes; anything else is refused) lands over the start of
// sound.format, so fields beyond a short body keep their values; a zero byte
// rate or block size is refused. sampleCount is dataBytes * sampleRate /
// avgBytesPerSec; PCM data counted beyond INT32_MAX frames is refused with
// LoadConversionError, as decoded data of that length is (compressed data is
// counted again when decoded). A compressed file's fact chunk gives
// factSamples unless it holds 0 (not known). A failure may leave these fields
// partly overwritten.
LoadResult ReadWavHeader(CSoundBuffer& sound, BinaryFile& file);
