#include "sound/Mp3Header.h"
#include "sound/LittleEndian.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Runs the header reader over `bytes` as a file, on a record that holds
// stale values from an earlier load.
struct Read {
    explicit Read(const Bytes& bytes)
    {
        sound.format.formatTag = 1;
        sound.format.bitsPerSample = 16;
        sound.format.extra.fill(0xAA);
        sound.dataBytes = 7;
        sound.factSamples = 3;
        if (file.OpenMemory(bytes.data(), bytes.size()))
            result = ReadMp3Header(sound, file);
    }
    CSoundBuffer sound;
    BinaryFile file;
    LoadResult result = LoadOpenFailed;
};

Bytes At(std::size_t offset, Bytes header, std::size_t tail = 16)
{
    Bytes bytes(offset + header.size() + tail, 0);
    std::copy(header.begin(), header.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
}

// An ID3v2.4 tag of `size` body bytes (synchsafe), optionally with a footer.
Bytes Id3(std::uint32_t size, bool footer = false)
{
    const std::uint8_t flags = footer ? 0x10 : 0;
    Bytes tag{'I', 'D', '3', 4, 0, flags};
    for (int shift : {21, 14, 7, 0})
        tag.push_back(static_cast<std::uint8_t>((size >> shift) & 0x7F));
    tag.resize(10 + size, 0);
    if (footer)
        tag.insert(tag.end(), {'3', 'D', 'I', 4, 0, flags, 0, 0, 0, 0});
    return tag;
}

Bytes operator+(Bytes a, const Bytes& b)
{
    const std::size_t at = a.size();
    a.resize(at + b.size());
    std::copy(b.begin(), b.end(), a.begin() + static_cast<std::ptrdiff_t>(at));
    return a;
}

const Bytes kMpeg1Layer3{0xFF, 0xFB, 0x90, 0x64};  // 128 kbit/s, 44100, joint stereo

TEST(Mp3Header, Mpeg1Layer3FrameBecomesTheLayer3FormatRecord)
{
    const Bytes bytes = At(0, kMpeg1Layer3, 100);
    Read read(bytes);
    ASSERT_EQ(read.result, LoadOK);
    const WaveFormat& f = read.sound.format;
    EXPECT_EQ(f.formatTag, 85);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.sampleRate, 44100u);
    EXPECT_EQ(f.avgBytesPerSec, 16000u);
    EXPECT_EQ(f.blockAlign, 1);
    EXPECT_EQ(f.bitsPerSample, 0);
    EXPECT_EQ(f.extraSize, 12);
    EXPECT_EQ(GetLe16(&f.extra[0]), 1);   // MPEG
    EXPECT_EQ(GetLe32(&f.extra[2]), 2u);  // padding off
    EXPECT_EQ(GetLe16(&f.extra[6]), 384);
    EXPECT_EQ(GetLe16(&f.extra[8]), 1);
    EXPECT_EQ(GetLe16(&f.extra[10]), 1393);
    EXPECT_EQ(f.extra[12], 0);  // nothing stale beyond the record
    EXPECT_EQ(read.sound.dataBytes, bytes.size());
    EXPECT_FALSE(read.sound.factSamples);
    EXPECT_EQ(read.file.Position(), 0u);  // the decoder gets the whole file
}

TEST(Mp3Header, FieldsOfEachVersionLayerAndMode)
{
    struct Case {
        Bytes header;
        std::uint16_t channels;
        std::uint32_t rate;
        std::uint32_t bytesPerSecond;
    };
    for (const Case& c : {
             Case{{0xFF, 0xFB, 0x90, 0xC4}, 1, 44100, 16000},  // single channel
             Case{{0xFF, 0xFB, 0x94, 0x84}, 2, 48000, 16000},  // dual channel
             Case{{0xFF, 0xFA, 0xE8, 0x00}, 2, 32000, 40000},  // protection bit clear: 320 kbit/s
             Case{{0xFF, 0xF3, 0x84, 0x44}, 2, 24000, 8000},   // MPEG 2, index 8: 64 kbit/s
             Case{{0xFF, 0xF3, 0x18, 0xC0}, 1, 16000, 1000},   // MPEG 2, 8 kbit/s
             Case{{0xFF, 0xE3, 0x18, 0xC0}, 1, 8000, 1000},    // MPEG 2.5
             Case{{0xFF, 0xE3, 0xE0, 0x00}, 2, 11025, 20000},  // MPEG 2.5, 160 kbit/s
             Case{{0xFF, 0xFD, 0x90, 0x00}, 2, 44100, 20000},  // Layer II: 160 kbit/s
             Case{{0xFF, 0xFD, 0xE0, 0x00}, 2, 44100, 48000},  // Layer II: 384 kbit/s
             Case{{0xFF, 0xFF, 0xE0, 0x00}, 2, 44100, 56000},  // Layer I: 448 kbit/s
             Case{{0xFF, 0xF7, 0xE0, 0x00}, 2, 22050, 32000},  // MPEG 2 Layer I: 256 kbit/s
             Case{{0xFF, 0xF5, 0xE0, 0x00}, 2, 22050, 20000},  // MPEG 2 Layer II: 160 kbit/s
         }) {
        SCOPED_TRACE(testing::PrintToString(c.header));
        Read read(At(3, c.header));
        ASSERT_EQ(read.result, LoadOK);
        EXPECT_EQ(read.sound.format.formatTag, 85);  // whatever the layer
        EXPECT_EQ(read.sound.format.channels, c.channels);
        EXPECT_EQ(read.sound.format.sampleRate, c.rate);
        EXPECT_EQ(read.sound.format.avgBytesPerSec, c.bytesPerSecond);
    }
}

TEST(Mp3Header, RefusedHeadersAreSkippedForTheNextGoodOne)
{
    const Bytes refused[] = {
        {0xFF, 0xFB, 0xF0, 0x64},  // bitrate index 15
        {0xFF, 0xFB, 0x00, 0x64},  // bitrate index 0 (free format)
        {0xFF, 0xFB, 0x9C, 0x64},  // sample-rate index 3
        {0xFF, 0xEB, 0x90, 0x64},  // version 01
        {0xFF, 0xF9, 0x90, 0x64},  // layer 00
        {0xFF, 0xDB, 0x90, 0x64},  // a sync bit clear
        {0xFE, 0xFB, 0x90, 0x64},
    };
    for (const Bytes& header : refused) {
        SCOPED_TRACE(testing::PrintToString(header));
        EXPECT_EQ(Read(At(0, header)).result, LoadBadMp3);
        Read read(header + Bytes{0xFF, 0xF3, 0x84, 0xC4});
        ASSERT_EQ(read.result, LoadOK);
        EXPECT_EQ(read.sound.format.sampleRate, 24000u);
    }
}

TEST(Mp3Header, SearchReachesOffset6001AndNoFurther)
{
    EXPECT_EQ(Read(At(6001, kMpeg1Layer3)).result, LoadOK);
    EXPECT_EQ(Read(At(6002, kMpeg1Layer3)).result, LoadBadMp3);
    EXPECT_EQ(Read(At(6001, kMpeg1Layer3, 0)).result, LoadOK);  // the header is the file's last four bytes
    EXPECT_EQ(Read(Bytes{0xFF, 0xFB, 0x90}).result, LoadBadMp3);
    EXPECT_EQ(Read(Bytes{}).result, LoadBadMp3);
    EXPECT_EQ(Read(At(0, kMpeg1Layer3, 0)).result, LoadOK);
}

TEST(Mp3Header, LeadingId3TagIsSteppedOverAndTheSearchCountsFromItsEnd)
{
    Bytes tag = Id3(40000);
    tag[200] = 0xFF;  // a false header inside the tag, as cover art may hold
    tag[201] = 0xFB;
    tag[202] = 0x90;
    tag[203] = 0x64;
    const Bytes mono24k{0xFF, 0xF3, 0x84, 0xC4};

    Read read(tag + At(6001, mono24k));
    ASSERT_EQ(read.result, LoadOK);
    EXPECT_EQ(read.sound.format.sampleRate, 24000u);
    EXPECT_EQ(read.sound.format.channels, 1);
    EXPECT_EQ(read.sound.dataBytes, 40010u + 6001 + 4 + 16);  // the tag is handed over too
    EXPECT_EQ(read.file.Position(), 0u);
    EXPECT_EQ(Read(tag + At(6002, mono24k)).result, LoadBadMp3);

    // A footer adds ten bytes to the tag.
    EXPECT_EQ(Read(Id3(30, true) + At(6001, mono24k)).result, LoadOK);
    EXPECT_EQ(Read(Id3(30, true) + At(6002, mono24k)).result, LoadBadMp3);
}

TEST(Mp3Header, NotATagMeansTheSearchStartsAtTheFileStart)
{
    const Bytes mono24k{0xFF, 0xF3, 0x84, 0xC4};
    Bytes badSize = Id3(20);
    badSize[9] = 0x80;  // not synchsafe
    EXPECT_EQ(Read(badSize + mono24k).result, LoadOK);

    Bytes beyondEnd = Id3(20);
    beyondEnd[6] = 0x7F;  // claims far more than the file holds
    Read read(beyondEnd + kMpeg1Layer3);
    ASSERT_EQ(read.result, LoadOK);
    EXPECT_EQ(read.sound.format.sampleRate, 44100u);

    EXPECT_EQ(Read(Bytes{'I', 'D', '3', 4, 0}).result, LoadBadMp3);
}

}  // namespace
