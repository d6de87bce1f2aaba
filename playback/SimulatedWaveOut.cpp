#include "playback/SimulatedWaveOut.h"

#include <chrono>

CSimulatedWaveOut::CSimulatedWaveOut(SimulatedWaveOutOptions chosen) : options(chosen) {}

CSimulatedWaveOut::~CSimulatedWaveOut()
{
    Close();
}

bool CSimulatedWaveOut::QueryFormat(const WaveFormat&)
{
    std::lock_guard guard(lock);
    ++calls.queries;
    return !options.failQuery;
}

bool CSimulatedWaveOut::Open(const WaveFormat& openFormat, WaveOutDoneFn done, void* instance)
{
    {
        std::lock_guard guard(lock);
        ++calls.opens;
        if (options.failOpen || open)
            return false;
        format = openFormat;
        resetting = false;
        closing = false;
        playing = false;
        open = true;
    }
    queue.Start(done, instance);
    player = std::thread(&CSimulatedWaveOut::PlayBlocks, this);
    return true;
}

bool CSimulatedWaveOut::Prepare(WaveBlock& block)
{
    std::lock_guard guard(lock);
    if (!open || prepareCalls++ == options.failPrepareAt)
        return false;
    return queue.Prepare(block);
}

bool CSimulatedWaveOut::Queue(WaveBlock& block)
{
    {
        std::lock_guard guard(lock);
        if (!open || queueCalls++ == options.failQueueAt || !queue.Queue(block))
            return false;
        queuedLog.push_back({&block, block.data, block.bufferLength});
    }
    changed.notify_all();
    return true;
}

bool CSimulatedWaveOut::Unprepare(WaveBlock& block)
{
    std::lock_guard guard(lock);
    return open && queue.Unprepare(block);
}

bool CSimulatedWaveOut::Drain()
{
    {
        std::lock_guard guard(lock);
        if (!open)
            return false;
        ++calls.drains;
    }
    queue.WaitUntilPlayed();
    return true;
}

bool CSimulatedWaveOut::Reset()
{
    {
        std::unique_lock guard(lock);
        if (!open)
            return false;
        ++calls.resets;
        resetting = true;
        changed.notify_all();
        changed.wait(guard, [this] { return !playing; });
    }
    queue.Flush();
    {
        std::lock_guard guard(lock);
        resetting = false;
    }
    changed.notify_all();
    return true;
}

bool CSimulatedWaveOut::Close()
{
    {
        std::lock_guard guard(lock);
        if (!open)
            return false;
        ++calls.closes;
        closing = true;
    }
    changed.notify_all();
    player.join();
    queue.Stop();
    std::lock_guard guard(lock);
    open = false;
    return true;
}

void CSimulatedWaveOut::SetPaused(bool pause)
{
    {
        std::lock_guard guard(lock);
        paused = pause;
    }
    changed.notify_all();
}

bool CSimulatedWaveOut::IsOpen() const
{
    std::lock_guard guard(lock);
    return open;
}

CSimulatedWaveOut::CallCounts CSimulatedWaveOut::Calls() const
{
    std::lock_guard guard(lock);
    return calls;
}

std::vector<CSimulatedWaveOut::QueuedBlock> CSimulatedWaveOut::QueuedBlocks() const
{
    std::lock_guard guard(lock);
    return queuedLog;
}

std::vector<const WaveBlock*> CSimulatedWaveOut::PlayedBlocks() const
{
    std::lock_guard guard(lock);
    return playedLog;
}

std::uint32_t CSimulatedWaveOut::Gaps() const
{
    return queue.Gaps();
}

double CSimulatedWaveOut::SecondsOf(const WaveBlock& block) const
{
    if (format.avgBytesPerSec == 0)
        return 0.0;
    return static_cast<double>(block.bufferLength) / format.avgBytesPerSec * options.speed;
}

void CSimulatedWaveOut::PlayBlocks()
{
    std::unique_lock guard(lock);
    for (;;) {
        WaveBlock* block = nullptr;
        changed.wait(guard, [&] {
            if (closing)
                return true;
            if (resetting || paused)
                return false;
            block = queue.Head();
            return block != nullptr;
        });
        if (closing)
            return;
        playing = true;
        const bool interrupted = changed.wait_for(guard, std::chrono::duration<double>(SecondsOf(*block)),
                                                  [this] { return resetting || closing; });
        playing = false;
        changed.notify_all();
        if (interrupted)
            continue;
        playedLog.push_back(block);
        queue.FinishHead();
    }
}
