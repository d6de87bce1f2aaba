#include "playback/WaveBlockQueue.h"

CWaveBlockQueue::~CWaveBlockQueue()
{
    Stop();
}

void CWaveBlockQueue::Start(WaveOutDoneFn doneFn, void* doneInstance)
{
    done = doneFn;
    instance = doneInstance;
    queued.store(0);
    played.store(0);
    delivered.store(0);
    closing.store(false);
    starving.store(false);
    gaps.store(0);
    completionThread = std::thread(&CWaveBlockQueue::DeliverCompletions, this);
}

void CWaveBlockQueue::Stop()
{
    if (!completionThread.joinable())
        return;
    Flush();
    closing.store(true, std::memory_order_release);
    wakeups.fetch_add(1, std::memory_order_release);
    wakeups.notify_one();
    completionThread.join();
}

bool CWaveBlockQueue::Prepare(WaveBlock& block)
{
    if (block.inQueue)
        return false;
    block.prepared = true;
    return true;
}

bool CWaveBlockQueue::Unprepare(WaveBlock& block)
{
    if (block.inQueue)
        return false;
    block.prepared = false;
    return true;
}

bool CWaveBlockQueue::Queue(WaveBlock& block)
{
    if (!block.prepared || block.inQueue)
        return false;
    std::lock_guard lock(producerLock);
    const std::uint32_t next = queued.load(std::memory_order_relaxed);
    if (next - delivered.load(std::memory_order_acquire) >= kCapacity)
        return false;
    block.inQueue = true;
    slots[next % kCapacity] = &block;
    queued.store(next + 1, std::memory_order_release);
    return true;
}

WaveBlock* CWaveBlockQueue::Head()
{
    const std::uint32_t head = played.load(std::memory_order_acquire);
    if (head == queued.load(std::memory_order_acquire)) {
        if (head != 0)
            starving.store(true, std::memory_order_relaxed);
        return nullptr;
    }
    if (starving.exchange(false, std::memory_order_relaxed))
        gaps.fetch_add(1, std::memory_order_relaxed);
    return slots[head % kCapacity];
}

void CWaveBlockQueue::FinishHead()
{
    played.fetch_add(1, std::memory_order_release);
    wakeups.fetch_add(1, std::memory_order_release);
    wakeups.notify_one();
}

void CWaveBlockQueue::Flush()
{
    if (!completionThread.joinable())
        return;
    starving.store(false, std::memory_order_relaxed);
    for (;;) {
        const std::uint32_t target = queued.load(std::memory_order_acquire);
        std::uint32_t reported = delivered.load(std::memory_order_acquire);
        if (reported == target)
            return;
        played.store(target, std::memory_order_release);
        wakeups.fetch_add(1, std::memory_order_release);
        wakeups.notify_one();
        while (reported != target) {
            delivered.wait(reported, std::memory_order_acquire);
            reported = delivered.load(std::memory_order_acquire);
        }
    }
}

void CWaveBlockQueue::WaitUntilPlayed()
{
    if (!completionThread.joinable())
        return;
    for (;;) {
        const std::uint32_t reported = delivered.load(std::memory_order_acquire);
        if (reported == queued.load(std::memory_order_acquire))
            return;
        delivered.wait(reported, std::memory_order_acquire);
    }
}

std::uint32_t CWaveBlockQueue::Gaps() const
{
    return gaps.load(std::memory_order_relaxed);
}

void CWaveBlockQueue::DeliverCompletions()
{
    for (;;) {
        const std::uint32_t seen = wakeups.load(std::memory_order_acquire);
        const std::uint32_t target = played.load(std::memory_order_acquire);
        for (std::uint32_t next = delivered.load(std::memory_order_relaxed); next != target;) {
            slots[next % kCapacity]->inQueue = false;
            if (done)
                done(instance);
            delivered.store(++next, std::memory_order_release);
            delivered.notify_all();
        }
        if (closing.load(std::memory_order_acquire))
            return;
        wakeups.wait(seen, std::memory_order_acquire);
    }
}
