#include "sound/DecodeToPcm16.h"

#include "sound/codec/CodecDriver.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {

// The largest decoded length the record can describe: dataBytes is 32-bit
// and sampleCount a 32-bit signed frame count.
std::uint64_t MaxDecodedBytes(std::uint16_t channels)
{
    const std::uint64_t byFrames = std::uint64_t{std::numeric_limits<std::int32_t>::max()} * channels * 2;
    return std::min<std::uint64_t>(byFrames, std::numeric_limits<std::uint32_t>::max());
}

}  // namespace

LoadResult DecodeToPcm16(CSoundBuffer& sound, std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> raw;
    raw.swap(data);  // released on every path out of here

    WaveFormat destination;
    const CodecDriver* driver = SuggestPcm16(sound.format, destination);
    if (driver == nullptr)
        return LoadConversionImpossible;
    const std::unique_ptr<CodecStream> stream = driver->Open(sound.format, raw);
    if (!stream)
        return LoadConversionImpossible;

    std::optional<std::uint64_t> bytes = stream->DecodedBytes();
    if (!bytes)
        return LoadConversionError;
    const std::uint64_t frameBytes = std::uint64_t{destination.channels} * 2;
    if (sound.factSamples)
        bytes = std::min(*bytes, *sound.factSamples * frameBytes);
    if (*bytes == 0 || *bytes > MaxDecodedBytes(destination.channels))
        return LoadConversionError;

    std::vector<std::uint8_t> pcm;
    try {
        pcm.resize(static_cast<std::size_t>(*bytes));
    } catch (const std::bad_alloc&) {
        return LoadConversionError;
    }
    if (!stream->Convert(pcm))
        return LoadConversionError;

    CopyFormat(destination, sound.format);
    sound.dataBytes = static_cast<std::uint32_t>(pcm.size());
    sound.sampleCount = static_cast<std::int32_t>(sound.dataBytes / sound.format.channels / 2);
    data.swap(pcm);
    return LoadOK;
}
