#include "sound/SoundBuffer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void Fill(CSoundBuffer& sound, std::uint32_t rate, const std::vector<std::int16_t>& values)
{
    ASSERT_TRUE(sound.InitPcm16(rate, static_cast<std::int32_t>(values.size()), 16));
    std::copy(values.begin(), values.end(), sound.samples.get());
}

TEST(SoundBuffer, NewRecordIsEmptyAndNamedNoFileLoaded)
{
    const CSoundBuffer sound;
    EXPECT_EQ(sound.DisplayName(), "No file loaded");
    EXPECT_EQ(sound.Extension(), "");
    EXPECT_EQ(sound.state, 0);
    EXPECT_EQ(sound.sampleCount, 0);
    EXPECT_EQ(sound.samples, nullptr);
}

TEST(SoundBuffer, DisplayNameAndExtensionIgnoreFolders)
{
    struct Case {
        const char* fileName;
        const char* displayName;
        const char* extension;
    };
    for (const Case& c : {
             Case{"E:\\bells\\treble.wav", "treble.wav", "wav"},
             Case{"E:\\my.bells\\treble", "treble", ""},
             Case{"D:\\a.b.WAV", "a.b.WAV", "WAV"},
             Case{"/home/ringer/my.bells/tenor", "tenor", ""},
             Case{"/home/ringer/tenor.mp3", "tenor.mp3", "mp3"},
             Case{"C:\\mixed/folders\\bell.Wav", "bell.Wav", "Wav"},
             Case{"bell.", "bell.", ""},
             Case{"", "", ""},
         }) {
        CSoundBuffer sound;
        sound.fileName = c.fileName;
        EXPECT_EQ(sound.DisplayName(), c.displayName) << c.fileName;
        EXPECT_EQ(sound.Extension(), c.extension) << c.fileName;
    }
}

TEST(SoundBuffer, OnsetIsTheFirstSampleBeyondTheThresholdInEitherDirection)
{
    struct Case {
        std::vector<std::int16_t> values;
        std::int32_t onset;
    };
    for (const Case& c : {
             Case{{0, 100, -2399, 2399, -2400, 3000}, 4},
             Case{{0, 2400}, 1},
             Case{{-32768}, 0},
             Case{{2399, -2399}, 2},
             Case{{}, 0},
         }) {
        CSoundBuffer sound;
        Fill(sound, 44100, c.values);
        EXPECT_EQ(sound.FindOnset(), c.onset) << ::testing::PrintToString(c.values);
    }
}

TEST(SoundBuffer, OnsetSearchStopsAfterOneSecondOrAtTheEnd)
{
    CSoundBuffer twoSeconds;
    std::vector<std::int16_t> values(88200, 2399);
    values[44100] = 30000;
    Fill(twoSeconds, 44100, values);
    EXPECT_EQ(twoSeconds.FindOnset(), 44100);

    CSoundBuffer halfSecond;
    Fill(halfSecond, 44100, std::vector<std::int16_t>(22050, -2399));
    EXPECT_EQ(halfSecond.FindOnset(), 22050);
}

TEST(SoundBuffer, InitPcm16MakesAMonoSoundAndKeepsState)
{
    CSoundBuffer sound;
    sound.state = 1;
    sound.onset = 7;
    sound.fileName = "/tmp/out.wav";
    sound.format.extraSize = 12;
    ASSERT_TRUE(sound.InitPcm16(22050, 220500, 16));
    EXPECT_EQ(sound.format.formatTag, 1);
    EXPECT_EQ(sound.format.channels, 1);
    EXPECT_EQ(sound.format.sampleRate, 22050u);
    EXPECT_EQ(sound.format.blockAlign, 2);
    EXPECT_EQ(sound.format.avgBytesPerSec, 44100u);
    EXPECT_EQ(sound.format.bitsPerSample, 16);
    EXPECT_EQ(sound.format.extraSize, 12);
    EXPECT_EQ(sound.dataBytes, 441000u);
    EXPECT_EQ(sound.sampleCount, 220500);
    EXPECT_EQ(sound.onset, 0);
    EXPECT_EQ(sound.fileName, "No file loaded");
    EXPECT_EQ(sound.state, 1);
    EXPECT_NE(sound.samples, nullptr);
}

TEST(SoundBuffer, AllocateSamplesRefusesANegativeCountAndKeepsTheArray)
{
    CSoundBuffer sound;
    ASSERT_TRUE(sound.AllocateSamples(4));
    const std::int16_t* before = sound.samples.get();
    EXPECT_FALSE(sound.AllocateSamples(-1));
    EXPECT_EQ(sound.samples.get(), before);
    EXPECT_TRUE(sound.AllocateSamples(0));
}

}  // namespace
