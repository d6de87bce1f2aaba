#include "playback/SimulatedWaveOut.h"

#include "tests/playback/WaitUntil.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>

namespace {

WaveFormat Mono16(std::uint32_t rate)
{
    WaveFormat format;
    format.formatTag = kFormatPcm;
    format.channels = 1;
    format.sampleRate = rate;
    format.avgBytesPerSec = rate * 2;
    format.blockAlign = 2;
    format.bitsPerSample = 16;
    return format;
}

// Counts completions and remembers the thread that delivered the latest.
struct Completions {
    std::atomic<int> count{0};
    std::atomic<std::thread::id> thread{};

    static void Record(void* instance)
    {
        auto& self = *static_cast<Completions*>(instance);
        self.thread = std::this_thread::get_id();
        ++self.count;
    }
};

const std::int16_t kSilence[64] = {};

WaveBlock BlockOf(std::uint32_t samples)
{
    WaveBlock block;
    block.data = kSilence;
    block.bufferLength = samples * 2;
    return block;
}

TEST(SimulatedWaveOutTest, BlocksMustBePreparedAndCannotBeReleasedWhileQueued)
{
    CSimulatedWaveOut device;
    device.SetPaused(true);
    Completions done;
    WaveBlock block = BlockOf(64);
    EXPECT_FALSE(device.Prepare(block)) << "closed device";
    ASSERT_TRUE(device.Open(Mono16(8000), &Completions::Record, &done));
    EXPECT_FALSE(device.Open(Mono16(8000), &Completions::Record, &done)) << "already open";

    EXPECT_FALSE(device.Queue(block)) << "not prepared";
    ASSERT_TRUE(device.Prepare(block));
    ASSERT_TRUE(device.Queue(block));
    EXPECT_FALSE(device.Queue(block)) << "already queued";
    EXPECT_FALSE(device.Unprepare(block)) << "still with the device";

    ASSERT_TRUE(device.Reset());
    EXPECT_EQ(done.count.load(), 1);
    EXPECT_NE(done.thread.load(), std::this_thread::get_id());
    EXPECT_FALSE(block.inQueue);
    EXPECT_TRUE(device.Unprepare(block));
    EXPECT_TRUE(device.PlayedBlocks().empty());
    EXPECT_TRUE(device.Close());
    EXPECT_FALSE(device.Close()) << "already closed";
}

TEST(SimulatedWaveOutTest, HoldsAtMostItsCapacityAndHandsEverythingBackOnClose)
{
    CSimulatedWaveOut device;
    device.SetPaused(true);
    Completions done;
    std::array<WaveBlock, CWaveBlockQueue::kCapacity + 1> blocks;
    ASSERT_TRUE(device.Open(Mono16(8000), &Completions::Record, &done));
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        blocks[i] = BlockOf(1);
        ASSERT_TRUE(device.Prepare(blocks[i]));
        EXPECT_EQ(device.Queue(blocks[i]), i < CWaveBlockQueue::kCapacity) << "block " << i;
    }
    ASSERT_TRUE(device.Close());
    EXPECT_EQ(done.count.load(), static_cast<int>(CWaveBlockQueue::kCapacity));
    for (const WaveBlock& block : blocks)
        EXPECT_FALSE(block.inQueue);
}

TEST(SimulatedWaveOutTest, CountsAGapWhenTheNextBlockComesLate)
{
    CSimulatedWaveOut device({.speed = 0});
    Completions done;
    WaveBlock first = BlockOf(8);
    WaveBlock second = BlockOf(8);
    ASSERT_TRUE(device.Open(Mono16(8000), &Completions::Record, &done));
    ASSERT_TRUE(device.Prepare(first) && device.Queue(first));
    ASSERT_TRUE(WaitUntil([&] { return done.count == 1; }));
    EXPECT_EQ(device.Gaps(), 0u);
    ASSERT_TRUE(device.Prepare(second) && device.Queue(second));
    ASSERT_TRUE(WaitUntil([&] { return done.count == 2; }));
    EXPECT_EQ(device.Gaps(), 1u);
    EXPECT_EQ(device.PlayedBlocks(), (std::vector<const WaveBlock*>{&first, &second}));
}

}  // namespace
