#include "sound/SoundBuffer.h"

#include <algorithm>
#include <new>

bool CSoundBuffer::AllocateSamples(std::int32_t n)
{
    if (n < 0)
        return false;
    // Contents are left unset: an output of 700 s need not be cleared first.
    std::unique_ptr<std::int16_t[]> fresh(new (std::nothrow) std::int16_t[static_cast<std::size_t>(n)]);
    if (!fresh)
        return false;
    samples = std::move(fresh);
    return true;
}

bool CSoundBuffer::InitPcm16(std::uint32_t rate, std::int32_t length, std::int32_t bits)
{
    if (!AllocateSamples(length))
        return false;
    format.blockAlign = static_cast<std::uint16_t>(bits / 8);
    format.formatTag = kFormatPcm;
    format.channels = 1;
    format.sampleRate = rate;
    format.avgBytesPerSec = rate * format.blockAlign;
    format.bitsPerSample = static_cast<std::uint16_t>(bits);
    fileName = "No file loaded";
    onset = 0;
    sampleCount = length;
    dataBytes = static_cast<std::uint32_t>(length) * format.blockAlign;
    return true;
}

std::string CSoundBuffer::DisplayName() const
{
    const auto separator = fileName.find_last_of("/\\");
    return separator == std::string::npos ? fileName : fileName.substr(separator + 1);
}

std::string CSoundBuffer::Extension() const
{
    const std::string name = DisplayName();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

std::int32_t CSoundBuffer::FindOnset() const
{
    const std::int64_t limit = std::min<std::int64_t>(format.sampleRate, sampleCount);
    for (std::int32_t i = 0; i < limit; ++i)
        if (samples[i] >= 2400 || samples[i] <= -2400)
            return i;
    return static_cast<std::int32_t>(limit);
}
