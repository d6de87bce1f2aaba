#include "sound/BellImport.h"
#include "sound/SoundFileWriter.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

void MakeOutput(CSoundBuffer& sound, std::uint32_t rate, const std::vector<std::int16_t>& values)
{
    ASSERT_TRUE(sound.InitPcm16(rate, static_cast<std::int32_t>(values.size()), 16));
    std::copy(values.begin(), values.end(), sound.samples.get());
}

std::uint32_t Le32At(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (std::uint32_t{bytes[at + 3]} << 24);
}

TEST(WavWriter, WritesTheFortyEightByteHeaderAndLittleEndianSamples)
{
    TempFolder folder;
    CSoundBuffer sound;
    MakeOutput(sound, 44100, {1, -2, 0x1234});
    ASSERT_TRUE(SaveWavTo(sound, folder.Path("out.wav")));
    const std::vector<unsigned char> expected{'R',  'I',  'F', 'F', 46, 0, 0,  0, 'W',  'A',  'V',  'E',  'f', 'm',
                                              't',  ' ',  20,  0,   0,  0, 1,  0, 1,    0,    0x44, 0xAC, 0,   0,
                                              0x88, 0x58, 1,   0,   2,  0, 16, 0, 0,    0,    0,    0,    'd', 'a',
                                              't',  'a',  6,   0,   0,  0, 1,  0, 0xFE, 0xFF, 0x34, 0x12};
    EXPECT_EQ(ReadBytes(folder.Path("out.wav")), expected);
}

TEST(WavWriter, TenSecondsAt44100)
{
    TempFolder folder;
    CSoundBuffer sound;
    MakeOutput(sound, 44100, std::vector<std::int16_t>(441000, 5));
    ASSERT_TRUE(SaveWavTo(sound, folder.Path("ten.wav")));
    const auto bytes = ReadBytes(folder.Path("ten.wav"));
    ASSERT_EQ(bytes.size(), 48u + 882000u);
    EXPECT_EQ(Le32At(bytes, 4), 882040u);
    EXPECT_EQ(Le32At(bytes, 44), 882000u);
}

TEST(WavWriter, WhatIsSavedLoadsBackTheSame)
{
    TempFolder folder;
    std::vector<std::int16_t> values;
    for (int i = 0; i < 5000; ++i)
        values.push_back(static_cast<std::int16_t>(i * 7919));
    values[0] = -32768;
    values[1] = 32767;
    CSoundBuffer output;
    MakeOutput(output, 48000, values);
    const std::string path = folder.Path("round.wav");
    ASSERT_TRUE(SaveWavTo(output, path));
    EXPECT_EQ(output.fileName, path);
    EXPECT_EQ(output.state, 1);

    CSoundBuffer bell;
    ASSERT_EQ(LoadBellFile(bell, path), LoadOK);
    EXPECT_EQ(bell.format.sampleRate, 48000u);
    ASSERT_EQ(bell.sampleCount, 5000);
    EXPECT_EQ(std::vector<std::int16_t>(bell.samples.get(), bell.samples.get() + 5000), values);
    EXPECT_EQ(bell.onset, 0);
}

TEST(WavWriter, SavingReplacesAnExistingFileAndLeavesNothingElse)
{
    TempFolder folder;
    WriteBytes(folder.Path("out.wav"), std::vector<unsigned char>(5000, 'x'));
    CSoundBuffer sound;
    MakeOutput(sound, 8000, {1, 2});
    ASSERT_TRUE(SaveWavTo(sound, folder.Path("out.wav")));
    EXPECT_EQ(ReadBytes(folder.Path("out.wav")).size(), 52u);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.wav"});
}

TEST(WavWriter, FailedSaveChangesNothing)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.Path("taken.wav"));
    WriteBytes(folder.Path("taken.wav/inside"), {1, 2, 3});
    const std::vector<std::string> paths{folder.Path("missing/out.wav"), folder.Path("taken.wav"), ""};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        CSoundBuffer sound;
        MakeOutput(sound, 8000, {1, 2});
        sound.fileName = "before";
        sound.state = 0;
        EXPECT_FALSE(SaveWavTo(sound, path));
        EXPECT_EQ(sound.fileName, "before");
        EXPECT_EQ(sound.state, 0);
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"taken.wav"});
        EXPECT_EQ(ReadBytes(folder.Path("taken.wav/inside")).size(), 3u);
    }
}

// Saves 200 KB under a file-size limit of 4 KB, as a full disk would stop it.
// Returns 0 when the save reported failure and changed nothing in the record.
int SaveUnderFileSizeLimit(const std::string& path)
{
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 2;
    CSoundBuffer sound;
    if (!sound.InitPcm16(8000, 100000, 16))
        return 3;
    std::fill(sound.samples.get(), sound.samples.get() + 100000, std::int16_t{1});
    const bool saved = SaveWavTo(sound, path);
    return !saved && sound.state == 0 && sound.fileName == "No file loaded" ? 0 : 1;
}

TEST(WavWriter, WriteFailureKeepsTheOldFile)
{
    TempFolder folder;
    const std::vector<unsigned char> old(1000, 'o');
    const std::string path = folder.Path("out.wav");
    WriteBytes(path, old);
    EXPECT_EXIT(std::_Exit(SaveUnderFileSizeLimit(path)), ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.wav"});
}

}  // namespace
