#include "sound/Mp3Header.h"

#include "sound/LittleEndian.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int kMaxWindowMoves = 6001;  // headers starting at offsets 0..6001 are found
constexpr std::size_t kId3HeaderBytes = 10;

enum Version { Mpeg25 = 0, VersionReserved = 1, Mpeg2 = 2, Mpeg1 = 3 };
enum Layer { LayerReserved = 0, Layer3 = 1, Layer2 = 2, Layer1 = 3 };

// kbit/s by bitrate index; indices 0 (free format) and 15 are refused before lookup.
constexpr std::array<std::array<std::uint16_t, 16>, 3> kMpeg1Bitrates{{
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},  // Layer I
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},     // Layer II
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},      // Layer III
}};
constexpr std::array<std::array<std::uint16_t, 16>, 2> kMpeg2Bitrates{{
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},  // Layer I
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},       // Layers II and III
}};

struct FrameHeader {
    int version = 0;
    int layer = 0;
    int bitrateIndex = 0;
    int rateIndex = 0;
    int channelMode = 0;
};

FrameHeader Fields(const std::array<std::uint8_t, 4>& h)
{
    FrameHeader f;
    f.version = (h[1] >> 3) & 3;
    f.layer = (h[1] >> 1) & 3;
    f.bitrateIndex = h[2] >> 4;
    f.rateIndex = (h[2] >> 2) & 3;
    f.channelMode = h[3] >> 6;
    return f;
}

bool IsFrameHeader(const std::array<std::uint8_t, 4>& h)
{
    if (h[0] != 0xFF || (h[1] & 0xE0) != 0xE0)
        return false;
    const FrameHeader f = Fields(h);
    return f.version != VersionReserved && f.layer != LayerReserved && f.bitrateIndex != 0 && f.bitrateIndex != 15 &&
           f.rateIndex != 3;
}

std::uint32_t BitsPerSecond(const FrameHeader& f)
{
    const std::size_t row = f.layer == Layer1 ? 0 : f.layer == Layer2 ? 1 : 2;
    const std::uint16_t kbits =
        f.version == Mpeg1 ? kMpeg1Bitrates[row][f.bitrateIndex] : kMpeg2Bitrates[row == 0 ? 0 : 1][f.bitrateIndex];
    return std::uint32_t{kbits} * 1000;
}

std::uint32_t SampleRate(const FrameHeader& f)
{
    static constexpr std::uint32_t kMpeg1Rates[3] = {44100, 48000, 32000};
    const std::uint32_t rate = kMpeg1Rates[f.rateIndex];
    return f.version == Mpeg1 ? rate : f.version == Mpeg2 ? rate / 2 : rate / 4;
}

// The MPEG Layer-3 codec's format record: 18 standard bytes and 12 extra.
void DescribeAsLayer3(const FrameHeader& f, WaveFormat& format)
{
    format = WaveFormat{};
    format.formatTag = kFormatMpegLayer3;
    format.channels = f.channelMode == 3 ? 1 : 2;
    format.sampleRate = SampleRate(f);
    format.avgBytesPerSec = BitsPerSecond(f) / 8;
    format.blockAlign = 1;
    format.bitsPerSample = 0;
    format.extraSize = 12;
    PutLe16(&format.extra[0], 1);      // wID: MPEG
    PutLe32(&format.extra[2], 2);      // fdwFlags: padding off
    PutLe16(&format.extra[6], 384);    // nBlockSize
    PutLe16(&format.extra[8], 1);      // nFramesPerBlock
    PutLe16(&format.extra[10], 1393);  // nCodecDelay
}

// Total bytes of an ID3v2 tag whose 10-byte header is `h`, footer included;
// 0 when `h` is not such a header. The size is synchsafe: 4 x 7 bits.
std::uint64_t Id3TagBytes(const std::array<std::uint8_t, kId3HeaderBytes>& h)
{
    if (h[0] != 'I' || h[1] != 'D' || h[2] != '3' || h[3] == 0xFF || h[4] == 0xFF)
        return 0;
    if (((h[6] | h[7] | h[8] | h[9]) & 0x80) != 0)
        return 0;
    const std::uint64_t body =
        (std::uint64_t{h[6]} << 21) | (std::uint64_t{h[7]} << 14) | (std::uint64_t{h[8]} << 7) | h[9];
    const bool footer = (h[5] & 0x10) != 0;
    return kId3HeaderBytes + body + (footer ? kId3HeaderBytes : 0);
}

// Leaves the file at the end of an ID3v2 tag at its start, or at its start.
void SkipId3Tag(BinaryFile& file)
{
    std::array<std::uint8_t, kId3HeaderBytes> header{};
    const bool whole = file.Read(header.data(), header.size()) == header.size();
    const std::uint64_t tagBytes = whole ? Id3TagBytes(header) : 0;
    file.SeekToStart();
    if (tagBytes != 0 && !file.Skip(tagBytes))
        file.SeekToStart();
}

}  // namespace

LoadResult ReadMp3Header(CSoundBuffer& sound, BinaryFile& file)
{
    SkipId3Tag(file);
    std::array<std::uint8_t, 4> window{};
    if (file.Read(window.data(), window.size()) < window.size())
        return LoadBadMp3;
    for (int moves = 0; !IsFrameHeader(window); ++moves) {
        if (moves == kMaxWindowMoves)
            return LoadBadMp3;
        window = {window[1], window[2], window[3], 0};
        if (file.Read(&window[3], 1) < 1)
            return LoadBadMp3;
    }
    DescribeAsLayer3(Fields(window), sound.format);
    sound.dataBytes = static_cast<std::uint32_t>(std::min<std::uint64_t>(file.Length(), UINT32_MAX));
    sound.factSamples.reset();
    file.SeekToStart();
    return LoadOK;
}
