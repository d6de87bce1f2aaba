#include "sound/LittleEndian.h"
#include "sound/WavFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::uint32_t kMinFormatBytes = 16;  // up to and including bitsPerSample

// Looks for a fact chunk from the file's position on and keeps its sample
// count; a count of 0 (left by writers that cannot seek back to fill it in)
// means not known. Then returns the file to where it stood. False when it
// cannot.
bool ReadFactChunk(CSoundBuffer& sound, BinaryFile& file)
{
    const std::uint64_t start = file.Position();
    ChunkHeader chunk;
    std::uint8_t count[4];
    if (FindChunk(file, "fact", chunk) && chunk.length >= sizeof count &&
        file.Read(count, sizeof count) == sizeof count && GetLe32(count) != 0)
        sound.factSamples = GetLe32(count);
    file.SeekToStart();
    return file.Skip(start);
}

}  // namespace

bool FindChunk(BinaryFile& file, const char id[4], ChunkHeader& out)
{
    for (;;) {
        std::uint8_t header[8];
        if (file.Read(header, sizeof header) < sizeof header)
            return false;
        std::memcpy(out.id, header, 4);
        out.length = GetLe32(header + 4);
        if (std::memcmp(out.id, id, 4) == 0)
            return true;
        const std::uint64_t padded = std::uint64_t{out.length} + (out.length & 1u);
        if (!file.Skip(padded))
            return false;
    }
}

LoadResult ReadWavHeader(CSoundBuffer& sound, BinaryFile& file)
{
    ChunkHeader chunk;
    if (!FindChunk(file, "RIFF", chunk))
        return LoadNoRiff;
    char form[4];
    if (file.Read(form, sizeof form) < sizeof form || std::memcmp(form, "WAVE", 4) != 0)
        return LoadBadWav;

    if (!FindChunk(file, "fmt ", chunk) || chunk.length > kWaveFormatBytes || chunk.length < kMinFormatBytes)
        return LoadBadFormatChunk;
    // The body lands over the start of the format as it stands: a body
    // shorter than 18 bytes leaves the fields beyond it as they were.
    WaveFormatBytes bytes = PackWaveFormat(sound.format);
    const bool whole = file.Read(bytes.data(), chunk.length) == chunk.length;
    sound.format = UnpackWaveFormat(bytes);
    if (!whole)
        return LoadBadWav;
    if ((chunk.length & 1u) != 0 && !file.Skip(1))  // the pad byte after an odd body
        return LoadNoData;
    if (sound.format.avgBytesPerSec == 0 || sound.format.blockAlign == 0)
        return LoadBadFormatChunk;

    sound.factSamples.reset();
    if (sound.format.formatTag != kFormatPcm && !ReadFactChunk(sound, file))
        return LoadNoData;
    if (!FindChunk(file, "data", chunk) || chunk.length == 0)
        return LoadNoData;
    sound.dataBytes = chunk.length;
    const std::uint64_t frames = std::uint64_t{sound.dataBytes} * sound.format.sampleRate / sound.format.avgBytesPerSec;
    constexpr std::uint64_t kMaxFrames = std::numeric_limits<std::int32_t>::max();
    if (frames > kMaxFrames && sound.format.formatTag == kFormatPcm)
        return LoadConversionError;
    // Compressed data is counted again once decoded.
    sound.sampleCount = static_cast<std::int32_t>(std::min(frames, kMaxFrames));
    return LoadOK;
}
