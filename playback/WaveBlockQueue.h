#pragma once

#include "playback/WaveOut.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

// The queue of blocks inside a wave output device, shared by three sides:
//  - producers: Prepare, Queue and Unprepare, called by the device's
//    controlling thread or from inside a completion call;
//  - one consumer that plays blocks from the head (an audio callback or a
//    simulated device's thread): Head and FinishHead take no lock and
//    allocate nothing, so they are safe in a real-time audio callback;
//  - a completion thread of its own, running between Start and Stop, that
//    reports each finished block, in queue order, through the done function.
// Finished blocks are therefore reported on our own thread, never inside the
// audio callback, and the done function may queue again straight away.
class CWaveBlockQueue {
public:
    static constexpr std::uint32_t kCapacity = 8;  // blocks queued and not yet reported

    CWaveBlockQueue() = default;
    CWaveBlockQueue(const CWaveBlockQueue&) = delete;
    CWaveBlockQueue& operator=(const CWaveBlockQueue&) = delete;
    ~CWaveBlockQueue();

    // Controlling thread, consumer not running: empties the queue and starts
    // the completion thread, which calls done(instance) for each finished block.
    void Start(WaveOutDoneFn done, void* instance);
    // Controlling thread, consumer stopped: Flush, then ends the completion
    // thread. Does nothing when not started.
    void Stop();

    // Block protocol. Prepare and Unprepare fail for a queued block; Queue
    // fails for an unprepared or already queued block and when the queue is full.
    bool Prepare(WaveBlock& block);
    bool Unprepare(WaveBlock& block);
    bool Queue(WaveBlock& block);

    // Consumer: the oldest block not yet played, or null when none is queued.
    WaveBlock* Head();
    // Consumer: the head block has played to its end; it is reported done.
    void FinishHead();

    // Controlling thread, consumer stopped: every queued block counts as
    // played and is reported done. Returns once those calls have returned and
    // nothing is queued (blocks queued by the calls themselves are flushed too).
    void Flush();

    // Controlling thread, consumer running: returns once every queued block
    // has played and been reported done (blocks queued by the completion
    // calls meanwhile too).
    void WaitUntilPlayed();

    // Times since Start that the consumer wanted a block after the first had
    // played, found none, and was later given one: gaps in the sound.
    std::uint32_t Gaps() const;

private:
    void DeliverCompletions();

    WaveOutDoneFn done = nullptr;
    void* instance = nullptr;
    // Slot i % kCapacity holds the i-th queued block. Counters run on from 0:
    // delivered <= played <= queued <= delivered + kCapacity.
    std::array<WaveBlock*, kCapacity> slots{};
    std::atomic<std::uint32_t> queued{0};
    std::atomic<std::uint32_t> played{0};
    std::atomic<std::uint32_t> delivered{0};
    std::atomic<std::uint32_t> wakeups{0};  // bumped for the completion thread at every event
    std::atomic<bool> closing{false};
    std::atomic<bool> starving{false};
    std::atomic<std::uint32_t> gaps{0};
    std::mutex producerLock;  // serialises producers; never taken by the consumer
    std::thread completionThread;
};
