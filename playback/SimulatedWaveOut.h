#pragma once

#include "playback/WaveBlockQueue.h"
#include "playback/WaveOut.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// How a simulated wave output behaves.
struct SimulatedWaveOutOptions {
    double speed = 1.0;      // share of each block's real duration it takes to play; 0 = at once
    bool failQuery = false;  // QueryFormat reports the format unplayable
    bool failOpen = false;   // Open fails
    int failPrepareAt = -1;  // 0-based number of the Prepare call that fails; -1 = none
    int failQueueAt = -1;    // 0-based number of the Queue call that fails; -1 = none
};

// A wave output without sound: a thread of its own plays each queued block,
// in order, for its duration at the opened format (times `speed`), and the
// block queue reports it done on the completion thread. It records what was
// asked of it so tests can check the engine's use of a device.
//
// Thread: as CWaveOut; the inspection functions may be called from any thread.
// Its logs grow while playing, so it allocates; it is meant for tests.
class CSimulatedWaveOut final : public CWaveOut {
public:
    struct QueuedBlock {
        const WaveBlock* block;
        const std::int16_t* data;
        std::uint32_t bufferLength;
    };
    struct CallCounts {
        int queries = 0;
        int opens = 0;
        int drains = 0;
        int resets = 0;
        int closes = 0;
    };

    explicit CSimulatedWaveOut(SimulatedWaveOutOptions options = {});
    ~CSimulatedWaveOut() override;

    bool QueryFormat(const WaveFormat& format) override;
    bool Open(const WaveFormat& format, WaveOutDoneFn done, void* instance) override;
    bool Prepare(WaveBlock& block) override;
    bool Queue(WaveBlock& block) override;
    bool Unprepare(WaveBlock& block) override;
    // Waits for the queued blocks to play (for ever while paused).
    bool Drain() override;
    bool Reset() override;
    bool Close() override;

    // While paused no further block starts to play; one already playing
    // finishes. Holds across Open and Close.
    void SetPaused(bool paused);

    bool IsOpen() const;
    CallCounts Calls() const;
    // Every successful Queue since construction, in order.
    std::vector<QueuedBlock> QueuedBlocks() const;
    // Every block that played to its end since construction, in order.
    std::vector<const WaveBlock*> PlayedBlocks() const;
    // Gaps in the sound since the last Open (see CWaveBlockQueue::Gaps).
    std::uint32_t Gaps() const;

private:
    void PlayBlocks();
    double SecondsOf(const WaveBlock& block) const;

    const SimulatedWaveOutOptions options;
    CWaveBlockQueue queue;
    std::thread player;

    mutable std::mutex lock;
    std::condition_variable changed;  // any of the flags below, or a block queued
    bool open = false;
    bool paused = false;
    bool resetting = false;
    bool closing = false;
    bool playing = false;
    WaveFormat format;
    int prepareCalls = 0;
    int queueCalls = 0;
    CallCounts calls;
    std::vector<QueuedBlock> queuedLog;
    std::vector<const WaveBlock*> playedLog;
};
