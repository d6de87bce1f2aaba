#include "sound/BellImport.h"
#include "sound/WavFile.h"
#include "tests/sound/ExpectLoad.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::string CorpusFile(const std::string& name)
{
    return std::string(CARILLIX_SOUND_CORPUS) + "/" + name;
}

struct Expected {
    const char* file;
    LoadResult code;
    std::uint32_t rate = 0;  // the rest is checked for LoadOK only
    std::int32_t sampleCount = 0;
    std::int32_t onset = 0;
};

const Expected kCorpus[] = {
    {"mono16_44100.wav", LoadOK, 44100, 1000, 500},
    {"stereo16_48000.wav", LoadOK, 48000, 306, 120},
    {"sox_stereo16.wav", LoadOK, 48000, 480, 3},
    {"mono8_8000.wav", LoadOK, 8000, 202, 100},
    {"stereo8_11025.wav", LoadOK, 11025, 55, 50},
    {"list_odd_pad.wav", LoadOK, 22050, 8, 4},
    {"fmt_odd17_pad.wav", LoadOK, 22050, 8, 4},
    {"fmt56.wav", LoadOK, 22050, 8, 4},
    {"Mixed.Wav", LoadOK, 22050, 8, 4},
    {"UPPER.WAV", LoadOK, 22050, 8, 4},
    {"byterate_low.wav", LoadOK, 8000, 200, 10},   // header claims 400 frames; 200 are there
    {"byterate_high.wav", LoadOK, 8000, 100, 10},  // the header's smaller count stands
    {"rate_huge.wav", LoadOK, 0xFFFFFFFFu, 200, 10},
    {"stereo8_byterate_1.wav", LoadOK, 11025, 10, 9},
    {"odd_data.wav", LoadOK, 8000, 200, 10},
    {"quiet_then_loud_1000.wav", LoadOK, 1000, 2000, 1000},
    {"quiet_500_1000.wav", LoadOK, 1000, 500, 500},
    {"truncated_fmt.wav", LoadBadWav},
    {"riff_only.wav", LoadBadWav},
    {"avi.wav", LoadBadWav},
    {"data_before_fmt.wav", LoadNoData},
    {"no_data.wav", LoadNoData},
    {"empty_data.wav", LoadNoData},
    {"data_claims_4gb.wav", LoadNoData},
    {"truncated_data.wav", LoadNoData},
    {"frames_beyond_2g.wav", LoadConversionError},  // refused as decoded data of that length is
    {"short.wav", LoadNoRiff},
    {"text.wav", LoadNoRiff},
    {"no_fmt.wav", LoadBadFormatChunk},
    {"fmt57.wav", LoadBadFormatChunk},
    {"fmt14.wav", LoadBadFormatChunk},
    {"avg_zero.wav", LoadBadFormatChunk},
    {"align_zero.wav", LoadBadFormatChunk},
    {"mono24.wav", LoadFormatNotSupported},
    {"rate_zero.wav", LoadFormatNotSupported},
    {"unknown_tag.wav", LoadConversionImpossible},
    {"wave_named.mp3", LoadBadMp3},
    {"missing.wav", LoadOpenFailed},
};

TEST(WavCorpus, EveryFileLoadsOrFailsAsExpected)
{
    for (const Expected& e : kCorpus) {
        SCOPED_TRACE(e.file);
        ExpectLoad(CorpusFile(e.file), e.code, e.rate, e.sampleCount, e.onset);
    }
}

std::vector<std::int16_t> Samples(const CSoundBuffer& sound, std::int32_t first, std::int32_t count)
{
    return {sound.samples.get() + first, sound.samples.get() + first + count};
}

TEST(WavCorpus, SampleValuesOfEachConversion)
{
    struct Case {
        const char* file;
        std::int32_t first;
        std::vector<std::int16_t> values;
    };
    for (const Case& c : {
             Case{"mono16_44100.wav", 499, {-48, 20000}},
             Case{"list_odd_pad.wav", 0, {0, 100, -2399, 2399, -2400, 3000, 7, 8}},
             // Means of left and right, truncated toward zero.
             Case{"stereo16_48000.wav", 300, {0, 0, -100, 32767, -32768, 0}},
             Case{"mono8_8000.wav", 197, {-32768, 0, 32512, 2560, -2560}},
             Case{"stereo8_11025.wav", 50, {32512, -32768, 0, -128, -32640}},
         }) {
        SCOPED_TRACE(c.file);
        CSoundBuffer bell;
        ASSERT_EQ(LoadBellFile(bell, CorpusFile(c.file)), LoadOK);
        EXPECT_EQ(Samples(bell, c.first, static_cast<std::int32_t>(c.values.size())), c.values);
    }
}

TEST(WavCorpus, HeaderReaderStopsAtTheDataAndKeepsFieldsTheChunkDoesNotReach)
{
    CSoundBuffer sound;
    sound.format.extraSize = 7;
    sound.format.extra[0] = 9;
    BinaryFile file;
    ASSERT_TRUE(file.Open(CorpusFile("mono16_44100.wav")));
    ASSERT_EQ(ReadWavHeader(sound, file), LoadOK);
    EXPECT_EQ(file.Position(), 44u);
    EXPECT_EQ(sound.dataBytes, 2000u);
    EXPECT_EQ(sound.sampleCount, 1000);
    EXPECT_EQ(sound.format.extraSize, 7);
    EXPECT_EQ(sound.format.extra[0], 9);

    CSoundBuffer wide;
    ASSERT_TRUE(file.Open(CorpusFile("fmt56.wav")));
    ASSERT_EQ(ReadWavHeader(wide, file), LoadOK);
    EXPECT_EQ(wide.format.extraSize, 38);
    EXPECT_EQ(wide.format.extra[0], 1);
    EXPECT_EQ(wide.format.extra[37], 38);
}

TEST(WavCorpus, ChunkWalkSkipsPadBytesAndComparesIdsExactly)
{
    // "LIST" with a 3-byte body and its pad byte, then "data".
    const unsigned char bytes[] = {'L', 'I', 'S', 'T', 3,   0, 0, 0, 'a', 'b',  'c',
                                   0,   'd', 'a', 't', 'a', 2, 0, 0, 0,   0x34, 0x12};
    BinaryFile file;
    ChunkHeader chunk;
    ASSERT_TRUE(file.OpenMemory(bytes, sizeof bytes));
    ASSERT_TRUE(FindChunk(file, "data", chunk));
    EXPECT_EQ(chunk.length, 2u);
    EXPECT_EQ(file.Position(), 20u);

    ASSERT_TRUE(file.OpenMemory(bytes, sizeof bytes));
    EXPECT_FALSE(FindChunk(file, "DATA", chunk));
    ASSERT_TRUE(file.OpenMemory(bytes, sizeof bytes - 1));
    EXPECT_TRUE(FindChunk(file, "data", chunk));
    // A body that runs past the end hides everything after it.
    ASSERT_TRUE(file.OpenMemory(bytes, 11));
    EXPECT_FALSE(FindChunk(file, "data", chunk));
}

}  // namespace
