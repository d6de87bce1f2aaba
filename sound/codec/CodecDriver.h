#pragma once

#include "sound/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

// The decoding layer: codec drivers that turn compressed sound data into
// 16-bit signed little-endian PCM, channels interleaved, at the source's
// channel count and rate. Used by one thread at a time per stream; drivers
// hold no state between streams.

// One open conversion stream over a block of source data. Destroying it
// closes it and releases everything it holds. The source data must stay
// alive and unchanged for the stream's lifetime.
class CodecStream {
public:
    virtual ~CodecStream() = default;

    // Exact byte count of the whole decoded data; empty when the stream
    // cannot be decoded at the destination format or sized.
    virtual std::optional<std::uint64_t> DecodedBytes() = 0;

    // Decodes from the start of the data and fills all of `out` (at most
    // DecodedBytes() bytes) with the first decoded bytes. False when the
    // data cannot deliver that many.
    virtual bool Convert(std::span<std::uint8_t> out) = 0;
};

class CodecDriver {
public:
    virtual ~CodecDriver() = default;

    // Opens a stream that decodes `data`, described by `source`, to 16-bit
    // PCM with source.channels and source.sampleRate. Null when the data
    // cannot be opened as that format.
    virtual std::unique_ptr<CodecStream> Open(const WaveFormat& source, std::span<const std::uint8_t> data) const = 0;
};

// Format suggestion: the driver that decodes `source`, with `destination`
// set to the 16-bit PCM format of the same channels and rate (byte rate and
// block align filled in, no extra bytes). Null, and `destination` unchanged,
// when no driver takes the format or it names no channels or no rate.
const CodecDriver* SuggestPcm16(const WaveFormat& source, WaveFormat& destination);
