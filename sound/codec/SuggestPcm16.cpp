#include "sound/codec/CodecDriver.h"
#include "sound/codec/Mpg123Driver.h"
#include "sound/codec/SndfileDriver.h"

namespace {

constexpr std::uint16_t kFormatMpegAudio = 0x50;
constexpr std::uint16_t kFormatMsAdpcm = 0x02;
constexpr std::uint16_t kFormatFloat = 0x03;
constexpr std::uint16_t kFormatALaw = 0x06;
constexpr std::uint16_t kFormatMuLaw = 0x07;
constexpr std::uint16_t kFormatImaAdpcm = 0x11;
constexpr std::uint16_t kFormatGsm610 = 0x31;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

const CodecDriver* DriverFor(std::uint16_t formatTag)
{
    static const Mpg123Driver mpegAudio;
    static const SndfileDriver wavCodecs;
    static const FlacOggDriver flacOgg;
    switch (formatTag) {
    case kFormatMpegLayer3:
    case kFormatMpegAudio: return &mpegAudio;
    case kFormatMsAdpcm:
    case kFormatFloat:
    case kFormatALaw:
    case kFormatMuLaw:
    case kFormatImaAdpcm:
    case kFormatGsm610:
    case kFormatExtensible: return &wavCodecs;
    case kFormatFlac:
    case kFormatOgg: return &flacOgg;
    default: return nullptr;
    }
}

}  // namespace

const CodecDriver* SuggestPcm16(const WaveFormat& source, WaveFormat& destination)
{
    const CodecDriver* driver = DriverFor(source.formatTag);
    if (driver == nullptr || source.channels == 0 || source.sampleRate == 0)
        return nullptr;
    destination = WaveFormat{};
    destination.formatTag = kFormatPcm;
    destination.channels = source.channels;
    destination.sampleRate = source.sampleRate;
    destination.bitsPerSample = 16;
    destination.blockAlign = static_cast<std::uint16_t>(2u * source.channels);
    destination.avgBytesPerSec = source.sampleRate * destination.blockAlign;
    destination.extraSize = 0;
    return driver;
}
