#include "sound/WaveFormat.h"

#include "sound/LittleEndian.h"

#include <algorithm>

namespace {

constexpr std::size_t kStandardBytes = 18;

}  // namespace

void CopyFormat(const WaveFormat& from, WaveFormat& to)
{
    to.formatTag = from.formatTag;
    to.channels = from.channels;
    to.sampleRate = from.sampleRate;
    to.avgBytesPerSec = from.avgBytesPerSec;
    to.blockAlign = from.blockAlign;
    to.bitsPerSample = from.bitsPerSample;
    to.extraSize = from.extraSize;
}

WaveFormatBytes PackWaveFormat(const WaveFormat& format)
{
    WaveFormatBytes bytes{};
    PutLe16(&bytes[0], format.formatTag);
    PutLe16(&bytes[2], format.channels);
    PutLe32(&bytes[4], format.sampleRate);
    PutLe32(&bytes[8], format.avgBytesPerSec);
    PutLe16(&bytes[12], format.blockAlign);
    PutLe16(&bytes[14], format.bitsPerSample);
    PutLe16(&bytes[16], format.extraSize);
    std::copy(format.extra.begin(), format.extra.end(), bytes.begin() + kStandardBytes);
    return bytes;
}

WaveFormat UnpackWaveFormat(const WaveFormatBytes& bytes)
{
    WaveFormat format;
    format.formatTag = GetLe16(&bytes[0]);
    format.channels = GetLe16(&bytes[2]);
    format.sampleRate = GetLe32(&bytes[4]);
    format.avgBytesPerSec = GetLe32(&bytes[8]);
    format.blockAlign = GetLe16(&bytes[12]);
    format.bitsPerSample = GetLe16(&bytes[14]);
    format.extraSize = GetLe16(&bytes[16]);
    std::copy(bytes.begin() + kStandardBytes, bytes.end(), format.extra.begin());
    return format;
}
