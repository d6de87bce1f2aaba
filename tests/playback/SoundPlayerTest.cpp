#include "playback/SoundPlayer.h"
#include "playback/SimulatedWaveOut.h"

#include "tests/playback/WaitUntil.h"

#include <gtest/gtest.h>

#include <climits>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

PlayRequest Range(std::int32_t start, std::int32_t end)
{
    return {start, end, 0, 1};
}

PlayRequest Whole(std::int32_t length)
{
    return {0, 0, length, 0};
}

bool Stopped(const CSoundPlayer& player)
{
    return player.playStopped.load();
}

void ExpectIdle(const CSoundPlayer& player, const CSimulatedWaveOut& device)
{
    EXPECT_FALSE(device.IsOpen());
    for (const WaveBlock& block : player.playBlocks) {
        EXPECT_FALSE(block.prepared);
        EXPECT_FALSE(block.inQueue);
    }
}

class SoundPlayerTest : public ::testing::Test {
protected:
    void LoadSound(std::int32_t length, std::uint32_t rate = 8000)
    {
        ASSERT_TRUE(sound.InitPcm16(rate, length, 16));
        for (std::int32_t i = 0; i < length; ++i)
            sound.samples[i] = static_cast<std::int16_t>(i);
        sound.state = 1;
    }

    CSoundBuffer sound;
};

TEST_F(SoundPlayerTest, RangesPlayInBlocksOfAtMost8192SamplesUsedInTurn)
{
    const struct {
        std::int32_t start;
        std::int32_t end;
        std::vector<std::uint32_t> blockSamples;
    } cases[] = {
        {0, 1, {1}},
        {0, 8192, {8192}},
        {0, 8193, {8192, 1}},
        {100, 100 + 16384, {8192, 8192}},
        {7, 7 + 3 * 8192 + 5, {8192, 8192, 8192, 5}},
    };
    LoadSound(40000);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "range " << c.start << ".." << c.end);
        CSimulatedWaveOut device({.speed = 0});
        CSoundPlayer player(sound, device);
        PlayRequest request = Range(c.start, c.end);
        ASSERT_EQ(player.StartPlay(&request), PlayOK);
        ASSERT_TRUE(WaitUntil([&] { return Stopped(player); }));

        const auto queued = device.QueuedBlocks();
        const auto played = device.PlayedBlocks();
        ASSERT_EQ(queued.size(), c.blockSamples.size());
        ASSERT_EQ(played.size(), c.blockSamples.size());
        const std::int16_t* expected = sound.samples.get() + c.start;
        for (std::size_t i = 0; i < queued.size(); ++i) {
            EXPECT_EQ(queued[i].block, &player.playBlocks[i % 2]) << "block " << i;
            EXPECT_EQ(queued[i].data, expected) << "block " << i;
            EXPECT_EQ(queued[i].bufferLength, c.blockSamples[i] * 2) << "block " << i;
            EXPECT_EQ(played[i], &player.playBlocks[i % 2]) << "block " << i;
            expected += c.blockSamples[i];
        }
        EXPECT_EQ(player.playCursor.load(), c.end);
        EXPECT_EQ(player.PlayProgress(), 100);
        player.StopPlay();
        ExpectIdle(player, device);
    }
}

// Forwards to a simulated device, but lets the first queued block play out
// and be reported while StartPlay is still setting up the second.
class FirstBlockDoneDuringStart final : public CWaveOut {
public:
    explicit FirstBlockDoneDuringStart(CSimulatedWaveOut& device) : inner(device) {}

    bool QueryFormat(const WaveFormat& format) override { return inner.QueryFormat(format); }
    bool Open(const WaveFormat& format, WaveOutDoneFn done, void* instance) override
    {
        return inner.Open(format, done, instance);
    }
    bool Prepare(WaveBlock& block) override { return inner.Prepare(block); }
    bool Queue(WaveBlock& block) override
    {
        const bool queued = inner.Queue(block);
        if (queued && ++queueCalls == 1) {
            WaitUntil([&] { return inner.PlayedBlocks().size() == 1; });
            std::this_thread::sleep_for(20ms);  // room for the completion to run, were it not held back
        }
        return queued;
    }
    bool Unprepare(WaveBlock& block) override { return inner.Unprepare(block); }
    bool Drain() override { return inner.Drain(); }
    bool Reset() override { return inner.Reset(); }
    bool Close() override { return inner.Close(); }

private:
    CSimulatedWaveOut& inner;
    int queueCalls = 0;
};

TEST_F(SoundPlayerTest, ARangeThatEndsBeforeStartReturnsStillEndsByItself)
{
    LoadSound(8192);
    for (const std::int32_t length : {1, 8192}) {
        SCOPED_TRACE(testing::Message() << "length " << length);
        CSimulatedWaveOut device({.speed = 0});
        FirstBlockDoneDuringStart early(device);
        CSoundPlayer player(sound, early);
        PlayRequest request = Whole(length);
        ASSERT_EQ(player.StartPlay(&request), PlayOK);
        EXPECT_TRUE(WaitUntil([&] { return Stopped(player); }, 2s));
        player.StopPlay();
    }
}

TEST_F(SoundPlayerTest, ProgressRightAfterStartCountsBothQueuedBlocks)
{
    const struct {
        std::int32_t length;
        std::int16_t progress;
    } cases[] = {
        {100, 100}, {16384, 100}, {16385, 99}, {50000, 32}, {100000, 16},
    };
    LoadSound(100000);
    CSimulatedWaveOut device;
    device.SetPaused(true);
    CSoundPlayer player(sound, device);
    EXPECT_EQ(player.PlayProgress(), 0);
    for (const auto& c : cases) {
        PlayRequest request = Whole(c.length);
        ASSERT_EQ(player.StartPlay(&request), PlayOK);
        EXPECT_EQ(player.PlayProgress(), c.progress) << "length " << c.length;
        player.RequestStop();
        player.StopPlay();
    }
}

TEST_F(SoundPlayerTest, RangeIsChosenByUseRangeAndClippedToTheSound)
{
    const struct {
        PlayRequest request;
        std::int32_t start;
        std::int32_t end;
    } cases[] = {
        {{5, 300, 800, 1}, 5, 300},  {{5, 300, 800, 0}, 0, 800},          {{5, 300, 800, 2}, 0, 800},
        {{5, 300, 800, -1}, 0, 800}, {{-50, 2000, 0, 1}, 0, 1000},        {{900, 5000, 0, 1}, 900, 1000},
        {{0, 0, 5000, 0}, 0, 1000},  {{INT_MIN, INT_MAX, 0, 1}, 0, 1000},
    };
    LoadSound(1000);
    CSimulatedWaveOut device;
    device.SetPaused(true);
    CSoundPlayer player(sound, device);
    for (auto c : cases) {
        SCOPED_TRACE(testing::Message() << "request " << c.request.rangeStart << ".." << c.request.rangeEnd << " full "
                                        << c.request.fullLength << " useRange " << c.request.useRange);
        ASSERT_EQ(player.StartPlay(&c.request), PlayOK);
        EXPECT_EQ(player.playRequest, &c.request);
        EXPECT_EQ(player.playStart, c.start);
        EXPECT_EQ(player.playEnd, c.end);
        EXPECT_EQ(player.playLength, c.end - c.start);
        EXPECT_EQ(player.playBlocks[0].data, sound.samples.get() + c.start);
        player.RequestStop();
        player.StopPlay();
    }
}

TEST_F(SoundPlayerTest, EmptyAndNegativeRangesOpenNothing)
{
    const PlayRequest cases[] = {
        Range(10, 10), Range(10, 5), Range(2000, 3000), Range(-10, 0), Whole(0), Whole(-5), {INT_MAX, INT_MIN, 0, 1},
    };
    LoadSound(1000);
    CSimulatedWaveOut device;
    CSoundPlayer player(sound, device);
    for (auto request : cases) {
        EXPECT_EQ(player.StartPlay(&request), PlayLengthZero)
            << "range " << request.rangeStart << ".." << request.rangeEnd << " full " << request.fullLength;
        EXPECT_EQ(player.PlayProgress(), 0);
    }
    EXPECT_EQ(player.StartPlay(nullptr), PlayLengthZero);

    CSoundBuffer empty;
    CSoundPlayer emptyPlayer(empty, device);
    PlayRequest whole = Whole(100);
    EXPECT_EQ(emptyPlayer.StartPlay(&whole), PlayLengthZero);

    EXPECT_EQ(device.Calls().queries, 0);
    EXPECT_EQ(device.Calls().opens, 0);
}

TEST_F(SoundPlayerTest, AFailedStartReportsItsTextAndLeavesTheDeviceClosed)
{
    const struct {
        const char* what;
        SimulatedWaveOutOptions options;
        PlayResult result;
        const char* text;
        int opens;
    } cases[] = {
        {"format query fails", {.failQuery = true}, PlayFormatNotSupported, "Sound format not supported!", 0},
        {"open fails", {.failOpen = true}, PlayOpenFailed, "Failed to open sound device!", 1},
        {"first prepare fails", {.failPrepareAt = 0}, PlayDriverFailure, "Sound driver failure!", 1},
        {"second prepare fails", {.failPrepareAt = 1}, PlayDriverFailure, "Sound driver failure!", 1},
        {"first queue fails", {.failQueueAt = 0}, PlayDriverFailure, "Sound driver failure!", 1},
        {"second queue fails while the first block plays",
         {.failQueueAt = 1},
         PlayDriverFailure,
         "Sound driver failure!",
         1},
    };
    LoadSound(3 * 8192);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        CSimulatedWaveOut device(c.options);
        CSoundPlayer player(sound, device);
        PlayRequest request = Whole(3 * 8192);
        const PlayResult result = player.StartPlay(&request);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(PlayResultText(result), c.text);
        EXPECT_EQ(device.Calls().opens, c.opens);
        ExpectIdle(player, device);
        EXPECT_TRUE(device.PlayedBlocks().empty());
        if (result == PlayDriverFailure) {
            EXPECT_TRUE(Stopped(player));
            EXPECT_EQ(device.Calls().resets, 1);
            EXPECT_EQ(device.Calls().closes, 1);
            // The failed start left nothing behind: the next one plays.
            EXPECT_EQ(player.StartPlay(&request), PlayOK);
        }
    }
}

TEST_F(SoundPlayerTest, CompletionsAfterRequestStopChangeNothing)
{
    LoadSound(5 * 8192);
    for (const bool blocksPlayBeforeStopPlay : {true, false}) {
        SCOPED_TRACE(blocksPlayBeforeStopPlay ? "blocks play out" : "blocks handed back by the reset");
        CSimulatedWaveOut device({.speed = 0});
        device.SetPaused(true);
        CSoundPlayer player(sound, device);
        PlayRequest request = Whole(5 * 8192);
        ASSERT_EQ(player.StartPlay(&request), PlayOK);

        player.RequestStop();
        player.RequestStop();
        if (blocksPlayBeforeStopPlay) {
            device.SetPaused(false);
            ASSERT_TRUE(WaitUntil([&] { return device.PlayedBlocks().size() == 2; }));
        }
        player.StopPlay();

        EXPECT_EQ(device.QueuedBlocks().size(), 2u);
        EXPECT_EQ(player.playCursor.load(), 2 * 8192);
        EXPECT_EQ(player.currentBlock.load(), 0);
        EXPECT_TRUE(player.moreData.load());
        EXPECT_TRUE(Stopped(player));
        EXPECT_EQ(device.Calls().resets, 1);
        ExpectIdle(player, device);
    }
}

TEST_F(SoundPlayerTest, DestroyingOrRestartingAPlayingPlayerStopsTheRunningPlayback)
{
    LoadSound(3 * 8192);
    PlayRequest request = Whole(3 * 8192);
    CSimulatedWaveOut device;
    {
        CSoundPlayer player(sound, device);
        ASSERT_EQ(player.StartPlay(&request), PlayOK);
        ASSERT_EQ(player.StartPlay(&request), PlayOK);
        EXPECT_EQ(device.Calls().opens, 2);
        EXPECT_EQ(device.Calls().closes, 1);
    }
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.Calls().closes, 2);
    EXPECT_TRUE(device.PlayedBlocks().empty());
}

// The end of a playback that played out is heard to its last sample: the
// device is drained, not cut off. Only a stop request cuts it off.
TEST_F(SoundPlayerTest, APlaybackThatPlayedOutIsDrainedAndAStopRequestCutsOff)
{
    LoadSound(3 * 8192);
    PlayRequest request = Whole(3 * 8192);
    for (const bool stopRequested : {false, true}) {
        SCOPED_TRACE(stopRequested ? "stop requested" : "played out");
        CSimulatedWaveOut device({.speed = 0});
        device.SetPaused(stopRequested);
        CSoundPlayer player(sound, device);
        ASSERT_EQ(player.StartPlay(&request), PlayOK);
        if (stopRequested)
            player.RequestStop();
        ASSERT_TRUE(WaitUntil([&] { return Stopped(player); }));
        player.StopPlay();
        EXPECT_EQ(device.Calls().drains, stopRequested ? 0 : 1);
        EXPECT_EQ(device.Calls().resets, stopRequested ? 1 : 0);
        EXPECT_EQ(device.PlayedBlocks().size(), stopRequested ? 0u : 3u);
        ExpectIdle(player, device);
    }
}

TEST_F(SoundPlayerTest, RefillsKeepTheDeviceFedWithoutGaps)
{
    LoadSound(4 * 8192, 44100);
    CSimulatedWaveOut device({.speed = 0.25});
    CSoundPlayer player(sound, device);
    PlayRequest request = Whole(4 * 8192);
    ASSERT_EQ(player.StartPlay(&request), PlayOK);
    ASSERT_TRUE(WaitUntil([&] { return Stopped(player); }));
    EXPECT_EQ(device.PlayedBlocks().size(), 4u);
    EXPECT_EQ(device.Gaps(), 0u);
}

}  // namespace
