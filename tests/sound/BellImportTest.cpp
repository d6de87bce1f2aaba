#include "sound/BellImport.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

namespace {

std::string CorpusFile(const std::string& name)
{
    return std::string(CARILLIX_SOUND_CORPUS) + "/" + name;
}

TEST(SampleRateRule, FirstBellSetsTheRateAndADifferentOneIsRefused)
{
    std::uint32_t commonSampleRate = 0;
    CSoundBuffer bell1;
    CSoundBuffer bell2;
    ASSERT_EQ(LoadBellFile(bell1, CorpusFile("mono16_44100.wav")), LoadOK);
    EXPECT_TRUE(ApplySampleRateRule(bell1, commonSampleRate));
    EXPECT_EQ(commonSampleRate, 44100u);

    ASSERT_EQ(LoadBellFile(bell2, CorpusFile("list_odd_pad.wav")), LoadOK);
    EXPECT_FALSE(ApplySampleRateRule(bell2, commonSampleRate));
    EXPECT_EQ(bell2.state, 0);
    EXPECT_EQ(bell2.fileName, "");
    EXPECT_EQ(bell2.DisplayName(), "");
    EXPECT_EQ(bell2.sampleCount, 8);  // the refused bell keeps its samples
    EXPECT_EQ(commonSampleRate, 44100u);

    // Even the only loaded bell cannot change the rate.
    ASSERT_EQ(LoadBellFile(bell1, CorpusFile("list_odd_pad.wav")), LoadOK);
    EXPECT_FALSE(ApplySampleRateRule(bell1, commonSampleRate));
    EXPECT_EQ(commonSampleRate, 44100u);

    ASSERT_EQ(LoadBellFile(bell2, CorpusFile("mono16_44100.wav")), LoadOK);
    EXPECT_TRUE(ApplySampleRateRule(bell2, commonSampleRate));
    EXPECT_EQ(bell2.state, 1);
}

TEST(BellImport, AFailedLoadMakesAGoodBellUnusableButKeepsItsSound)
{
    CSoundBuffer bell;
    ASSERT_EQ(LoadBellFile(bell, CorpusFile("mono16_44100.wav")), LoadOK);
    const std::int16_t* samples = bell.samples.get();
    for (const char* bad : {"truncated_data.wav", "no-such-file.wav", "unknown_tag.wav", "wave_named.mp3"}) {
        SCOPED_TRACE(bad);
        EXPECT_NE(LoadBellFile(bell, CorpusFile(bad)), LoadOK);
        EXPECT_EQ(bell.state, 0);
        EXPECT_EQ(bell.fileName, CorpusFile(bad));
        EXPECT_EQ(bell.samples.get(), samples);
        EXPECT_EQ(bell.onset, 500);
    }
}

TEST(BellImport, UnsupportedFormatReplacesTheArray)
{
    CSoundBuffer bell;
    ASSERT_EQ(LoadBellFile(bell, CorpusFile("mono16_44100.wav")), LoadOK);
    ASSERT_EQ(LoadBellFile(bell, CorpusFile("mono24.wav")), LoadFormatNotSupported);
    EXPECT_EQ(bell.state, 0);
    EXPECT_EQ(bell.sampleCount, 100);
    EXPECT_NE(bell.samples, nullptr);
    EXPECT_EQ(LoadResultText(LoadFormatNotSupported), "Format not supported!");
}

TEST(BellImport, AFolderCannotBeOpened)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.Path("bells.wav"));
    CSoundBuffer bell;
    EXPECT_EQ(LoadBellFile(bell, folder.Path("bells.wav")), LoadOpenFailed);
    EXPECT_EQ(bell.state, 0);
}

}  // namespace
