// How fast a block handed back by the device is refilled and queued again,
// against the baseline of one thread waking another and being woken back,
// and at which block durations the simulated device starts to hear gaps.
#include "playback/SimulatedWaveOut.h"
#include "playback/SoundPlayer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

constexpr std::int32_t kBlocks = 64;

void ThreadWakeRoundTrip(benchmark::State& state)
{
    std::atomic<std::uint32_t> ball{0};
    std::atomic<bool> done{false};
    std::thread partner([&] {
        for (std::uint32_t seen = 0;; seen += 2) {
            ball.wait(seen);
            if (done)
                return;
            ball.store(seen + 2);
            ball.notify_one();
        }
    });
    std::uint32_t value = 0;
    for (auto _ : state) {
        ball.store(++value);
        ball.notify_one();
        ball.wait(value);
        ++value;
    }
    done = true;
    ball.store(++value);
    ball.notify_one();
    partner.join();
}
BENCHMARK(ThreadWakeRoundTrip)->UseRealTime();

// Plays kBlocks blocks through an instant simulated device: each block
// waits for the refill of the one before, so time per block is the turnaround.
void BlockTurnaround(benchmark::State& state)
{
    CSoundBuffer sound;
    sound.InitPcm16(44100, kBlocks * CSoundPlayer::kBlockSamples, 16);
    std::fill_n(sound.samples.get(), sound.sampleCount, std::int16_t{0});
    PlayRequest request{0, 0, sound.sampleCount, 0};
    CSimulatedWaveOut device({.speed = 0});
    CSoundPlayer player(sound, device);
    for (auto _ : state) {
        player.StartPlay(&request);
        while (!player.playStopped)
            std::this_thread::yield();
        player.StopPlay();
    }
    state.SetItemsProcessed(state.iterations() * kBlocks);
}
BENCHMARK(BlockTurnaround)->UseRealTime();

// Plays kBlocks blocks that each last state.range(0) microseconds and counts
// the gaps heard. The simulated device's timed waits cannot make a block much
// shorter than a tenth of a millisecond.
void GapsAtBlockDuration(benchmark::State& state)
{
    CSoundBuffer sound;
    sound.InitPcm16(44100, kBlocks * CSoundPlayer::kBlockSamples, 16);
    std::fill_n(sound.samples.get(), sound.sampleCount, std::int16_t{0});
    PlayRequest request{0, 0, sound.sampleCount, 0};
    const double blockSeconds = static_cast<double>(CSoundPlayer::kBlockSamples) / 44100;
    CSimulatedWaveOut device({.speed = state.range(0) * 1e-6 / blockSeconds});
    CSoundPlayer player(sound, device);
    double gaps = 0;
    for (auto _ : state) {
        player.StartPlay(&request);
        while (!player.playStopped)
            std::this_thread::yield();
        player.StopPlay();
        gaps += device.Gaps();
    }
    state.counters["gaps_per_block"] = gaps / (static_cast<double>(state.iterations()) * kBlocks);
}
BENCHMARK(GapsAtBlockDuration)->Arg(100)->Arg(1000)->Arg(10000)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
