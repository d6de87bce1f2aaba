#include "playback/PortAudioSession.h"
#include "playback/PortAudioWaveOut.h"
#include "playback/SoundPlayer.h"

#include "tests/playback/WaitUntil.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

namespace {

WaveFormat MonoPcm16At44100()
{
    WaveFormat format;
    format.formatTag = kFormatPcm;
    format.channels = 1;
    format.sampleRate = 44100;
    format.avgBytesPerSec = 88200;
    format.blockAlign = 2;
    format.bitsPerSample = 16;
    return format;
}

// Runs the real device over ALSA's null PCM, which takes samples as fast as
// they come, so whole playbacks finish in moments without a sound card.
class PortAudioNullDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { setenv("ALSA_CONFIG_PATH", CARILLIX_ALSA_NULL_CONFIG, 1); }

    void LoadSound(std::int32_t length)
    {
        ASSERT_TRUE(sound.InitPcm16(44100, length, 16));
        for (std::int32_t i = 0; i < length; ++i)
            sound.samples[i] = static_cast<std::int16_t>(i);
    }

    CSoundBuffer sound;
    CPortAudioWaveOut device;
};

TEST_F(PortAudioNullDeviceTest, PlaysARangeToItsEndAndClosesTheDevice)
{
    LoadSound(5 * 8192 + 3);
    for (const std::int32_t length : {1, 8193, 5 * 8192 + 3}) {
        SCOPED_TRACE(testing::Message() << "length " << length);
        CSoundPlayer player(sound, device);
        PlayRequest request{0, 0, length, 0};
        ASSERT_EQ(player.StartPlay(&request), PlayOK);
        EXPECT_TRUE(WaitUntil([&] { return player.playStopped.load(); }));
        EXPECT_EQ(player.PlayProgress(), 100);
        player.StopPlay();
        EXPECT_FALSE(device.Close()) << "StopPlay closed it";
    }
}

TEST_F(PortAudioNullDeviceTest, APlayStartsTheAudioLibraryOnce)
{
    LoadSound(1000);
    const std::uint32_t before = CPortAudioSession::Starts();
    {
        CSoundPlayer player(sound, device);
        PlayRequest request{0, 0, 1000, 0};
        ASSERT_EQ(player.StartPlay(&request), PlayOK);
        EXPECT_TRUE(WaitUntil([&] { return player.playStopped.load(); }));
        player.StopPlay();
    }
    EXPECT_EQ(CPortAudioSession::Starts() - before, 1u);
}

TEST_F(PortAudioNullDeviceTest, DrainingWaitsForTheQueuedBlocksAndLeavesTheDeviceToClose)
{
    LoadSound(3 * 8192);
    WaveFormat format = MonoPcm16At44100();
    std::atomic<int> done{0};
    ASSERT_TRUE(device.Open(
        format, [](void* count) { ++*static_cast<std::atomic<int>*>(count); }, &done));
    WaveBlock blocks[3];
    for (int i = 0; i < 3; ++i) {
        blocks[i].data = sound.samples.get() + i * 8192;
        blocks[i].bufferLength = 2 * 8192;
        ASSERT_TRUE(device.Prepare(blocks[i]));
        ASSERT_TRUE(device.Queue(blocks[i]));
    }
    EXPECT_TRUE(device.Drain());
    EXPECT_EQ(done, 3);
    EXPECT_TRUE(device.Close());
}

TEST_F(PortAudioNullDeviceTest, StopsAtOnceWhenAskedMidway)
{
    LoadSound(441000);
    CSoundPlayer player(sound, device);
    PlayRequest request{0, 0, 441000, 0};
    ASSERT_EQ(player.StartPlay(&request), PlayOK);
    player.RequestStop();
    player.StopPlay();
    for (const WaveBlock& block : player.playBlocks) {
        EXPECT_FALSE(block.inQueue);
        EXPECT_FALSE(block.prepared);
    }
    EXPECT_FALSE(device.Close());
}

TEST_F(PortAudioNullDeviceTest, AcceptsOnly16BitPcmInOneOrTwoChannels)
{
    WaveFormat format = MonoPcm16At44100();
    EXPECT_TRUE(device.QueryFormat(format));

    const struct {
        const char* what;
        void (*spoil)(WaveFormat&);
    } refused[] = {
        {"8 bits", [](WaveFormat& f) { f.bitsPerSample = 8; }},
        {"MPEG Layer-3", [](WaveFormat& f) { f.formatTag = kFormatMpegLayer3; }},
        {"no channels", [](WaveFormat& f) { f.channels = 0; }},
        {"three channels", [](WaveFormat& f) { f.channels = 3; }},
        {"rate 0", [](WaveFormat& f) { f.sampleRate = 0; }},
    };
    for (const auto& r : refused) {
        WaveFormat spoilt = format;
        r.spoil(spoilt);
        EXPECT_FALSE(device.QueryFormat(spoilt)) << r.what;
        EXPECT_FALSE(device.Open(spoilt, nullptr, nullptr)) << r.what;
    }
}

}  // namespace
