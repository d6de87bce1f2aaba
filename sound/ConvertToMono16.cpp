#include "sound/BellImport.h"
#include "sound/DecodeToPcm16.h"
#include "sound/LittleEndian.h"

#include <algorithm>
#include <limits>
#include <new>
#include <vector>

namespace {

// The conversions, chosen by channels + bitsPerSample.
enum class Source { Mono8 = 9, Stereo8 = 10, Mono16 = 17, Stereo16 = 18 };

// Bytes of one sample frame of the data: fixed for the four conversions,
// otherwise what the format's channels and bits take (at least 1).
std::uint64_t FrameBytes(int sum, const WaveFormat& format)
{
    switch (sum) {
    case static_cast<int>(Source::Mono8): return 1;
    case static_cast<int>(Source::Stereo8): return 2;
    case static_cast<int>(Source::Mono16): return 2;
    case static_cast<int>(Source::Stereo16): return 4;
    default: {
        const std::uint64_t bits = std::uint64_t{format.channels} * format.bitsPerSample;
        return std::max<std::uint64_t>((bits + 7) / 8, 1);
    }
    }
}

bool ReadData(BinaryFile& file, std::uint32_t bytes, std::vector<std::uint8_t>& data)
{
    // A claim beyond the end of the file is refused before any memory is taken for it.
    const std::uint64_t position = file.Position();
    const std::uint64_t length = file.Length();
    if (position > length || bytes > length - position)
        return false;
    try {
        data.resize(bytes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return file.Read(data.data(), bytes) == bytes;
}

void ConvertSamples(Source source, const std::uint8_t* b, std::int16_t* out, std::int32_t count)
{
    switch (source) {
    case Source::Mono8:
        for (std::int32_t i = 0; i < count; ++i)
            out[i] = static_cast<std::int16_t>((b[i] - 128) * 256);
        break;
    case Source::Stereo8:
        for (std::int32_t i = 0; i < count; ++i)
            out[i] = static_cast<std::int16_t>((b[2 * i] + b[2 * i + 1] - 256) * 128);
        break;
    case Source::Mono16:
        for (std::int32_t i = 0; i < count; ++i)
            out[i] = GetLeSigned16(b + 2 * i);
        break;
    case Source::Stereo16:
        for (std::int32_t i = 0; i < count; ++i)
            out[i] = static_cast<std::int16_t>((GetLeSigned16(b + 4 * i) + GetLeSigned16(b + 4 * i + 2)) / 2);
        break;
    }
}

}  // namespace

LoadResult ConvertToMono16(CSoundBuffer& sound, BinaryFile& file)
{
    // A rate of 0 can be neither played nor rendered.
    if (sound.format.sampleRate == 0)
        return LoadFormatNotSupported;
    std::vector<std::uint8_t> data;
    if (!ReadData(file, sound.dataBytes, data))
        return LoadNoData;
    if (sound.format.formatTag != kFormatPcm) {
        const LoadResult decoded = DecodeToPcm16(sound, data);
        if (decoded != LoadOK)
            return decoded;
    }

    const int sum = sound.format.channels + sound.format.bitsPerSample;
    const std::uint64_t wholeFrames = data.size() / FrameBytes(sum, sound.format);
    if (sound.sampleCount > 0 && static_cast<std::uint64_t>(sound.sampleCount) > wholeFrames)
        sound.sampleCount = static_cast<std::int32_t>(wholeFrames);
    if (!sound.AllocateSamples(sound.sampleCount))
        return LoadNoData;

    const auto source = static_cast<Source>(sum);
    switch (source) {
    case Source::Mono8:
    case Source::Stereo8:
    case Source::Mono16:
    case Source::Stereo16: ConvertSamples(source, data.data(), sound.samples.get(), sound.sampleCount); break;
    default: return LoadFormatNotSupported;
    }

    sound.format.channels = 1;
    sound.format.avgBytesPerSec = 2 * sound.format.sampleRate;
    sound.format.blockAlign = 2;
    sound.format.bitsPerSample = 16;
    return LoadOK;
}
