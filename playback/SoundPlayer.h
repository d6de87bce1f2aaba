#pragma once

#include "playback/PlayRequest.h"
#include "playback/PlayResult.h"
#include "playback/WaveOut.h"
#include "sound/SoundBuffer.h"

#include <array>
#include <atomic>
#include <cstdint>

// Streams a range of one sound's 16-bit mono samples to a wave output in two
// blocks used in turn. Each block holds at most kBlockSamples samples and
// points straight into the sound's sample array: nothing is copied and
// nothing allocated while playing. Each time the device hands a block back it
// is refilled with the next samples and queued again, until the range is
// exhausted; the completion after the last block sets playStopped.
//
// Lifetime: bound to one CSoundBuffer and one CWaveOut, neither owned; both
// must outlive the player. While a playback runs (from a successful StartPlay
// until StopPlay) the sound's sample array must not be released, replaced or
// refilled, since the device reads it. The destructor stops a running
// playback and closes the device, so owning the player for no longer than
// the sound is enough.
//
// Threads: StartPlay, PlayProgress, RequestStop and StopPlay run on one
// controlling thread (the user interface); OnWaveOutDone runs on the
// device's completion thread. The two share playStopped, playCursor,
// currentBlock and moreData, all atomic, and no lock. Completions that arrive
// while StartPlay is still setting up are held back until it has returned.
class CSoundPlayer {
public:
    static constexpr std::int32_t kBlockSamples = 8192;

    CSoundPlayer(CSoundBuffer& sound, CWaveOut& waveOut);
    CSoundPlayer(const CSoundPlayer&) = delete;
    CSoundPlayer& operator=(const CSoundPlayer&) = delete;
    ~CSoundPlayer();

    // Plays request's range: rangeStart..rangeEnd when useRange is 1, else
    // 0..fullLength, in both cases clipped to the sound's samples. A running
    // playback is stopped first. On PlayOK the device is open, up to two
    // blocks are queued and playStopped is false; on any other result the
    // device is closed again (or was never opened). A null request plays
    // nothing. The request must outlive the playback.
    PlayResult StartPlay(PlayRequest* request);
    // Points `block` at the next at most kBlockSamples samples from `cursor`
    // (bytes = samples x 2) and advances `cursor` past them. False, with the
    // block untouched, when cursor >= end. Requires 0 <= cursor and
    // end <= the sound's sampleCount.
    bool FillBlock(WaveBlock& block, std::int32_t& cursor, std::int32_t end) const;
    // Percentage of the range handed to the device so far (not yet heard),
    // truncated; 100 once the last block is queued; 0 before any start.
    std::int16_t PlayProgress() const;
    // Sets playStopped; completions are ignored from then on. Nothing else.
    void RequestStop();
    // Stops the device, releases both blocks and closes the device. A
    // playback that played out is drained, so the device plays what it still
    // holds; one stopped by RequestStop (or a failed start) is cut off at
    // once, and the completions that produces are ignored. Nothing to do
    // when idle.
    void StopPlay();
    // The completion function given to the device; instance is the player.
    static void OnWaveOutDone(void* instance);

    std::array<WaveBlock, 2> playBlocks;
    CWaveOut& waveOut;
    std::atomic<bool> playStopped{true};        // data played out, or a stop requested
    std::int32_t playStart = 0;                 // first sample played
    std::int32_t playEnd = 0;                   // end of the range, exclusive
    std::int32_t playLength = 0;                // playEnd - playStart
    std::atomic<std::int32_t> playCursor{0};    // next sample to hand to the device
    std::atomic<std::int16_t> currentBlock{0};  // block whose completion is expected next
    std::atomic<bool> moreData{false};          // the latest fill found samples
    WaveFormat playFormat;                      // the format the device was opened with
    PlayRequest* playRequest = nullptr;         // not owned

private:
    // FillBlock from playCursor to playEnd; stores the result in moreData.
    bool FillNext(WaveBlock& block);
    void ReleaseCompletions();

    CSoundBuffer& sound;
    std::atomic<bool> completionsHeld{false};  // true while StartPlay sets up
    std::atomic<bool> playedOut{false};        // the last block's completion has come
    bool deviceOpen = false;                   // controlling thread only
};
