#pragma once

#include "sound/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// One sound in memory: its format, an owned array of 16-bit signed mono
// samples, the file it came from or went to, where its strike begins and
// whether it is usable. After a successful load, and after InitPcm16, the
// sound is mono 16-bit PCM.
//
// Not copyable. Touched only by the user-interface thread, except that a
// render reads bells' samples (and writes the output's) while the user
// interface waits under a modal dialog.
class CSoundBuffer {
public:
    CSoundBuffer() = default;
    CSoundBuffer(const CSoundBuffer&) = delete;
    CSoundBuffer& operator=(const CSoundBuffer&) = delete;

    // Replaces the sample array with a new one of n samples whose contents are
    // unset. Changes no other field; the caller sets sampleCount. False (and
    // the record unchanged) when the memory cannot be had or n is negative.
    bool AllocateSamples(std::int32_t n);

    // Makes the record a mono PCM sound of `length` samples at `rate`:
    // allocates, sets the standard fields, fileName "No file loaded", onset 0,
    // sampleCount and dataBytes. Leaves extraSize, the extra bytes and state
    // alone, and the samples unset. False when the array cannot be had.
    bool InitPcm16(std::uint32_t rate, std::int32_t length, std::int32_t bits);

    // fileName after its last path separator ('/' or '\\'); all of it if none.
    std::string DisplayName() const;
    // DisplayName after its last dot; empty when it holds no dot.
    std::string Extension() const;
    // Index of the first sample at or beyond +-2400 within the first second
    // (sampleRate samples); min(sampleRate, sampleCount) when none is.
    std::int32_t FindOnset() const;

    WaveFormat format;
    std::uint32_t dataBytes = 0;  // bytes of sound data found in the file; only meaningful while loading
    // Sample frames that a compressed WAV's fact chunk gives; the decoded data
    // is trimmed to it. Empty when the file has none; only meaningful while loading.
    std::optional<std::uint32_t> factSamples;
    std::string fileName = "No file loaded";
    std::int32_t onset = 0;  // first sample of the strike
    std::int32_t sampleCount = 0;
    std::unique_ptr<std::int16_t[]> samples;
    std::int32_t state = 0;  // 0 = no usable sound, 1 = usable
};
