#pragma once

#include "playback/WaveBlockQueue.h"
#include "playback/WaveOut.h"

#include <cstddef>
#include <cstdint>
#include <memory>

class CPortAudioSession;
struct PaStreamCallbackTimeInfo;

// The system's default sound output through PortAudio. Queued blocks play
// back to back: PortAudio's stream callback copies from the head block into
// its own buffer, plays silence while nothing is queued, and hands finished
// blocks to the block queue, whose completion thread reports them. The
// callback takes no lock and allocates nothing.
//
// Plays 16-bit PCM, one or two channels. On a machine without a usable
// output device Open fails and nothing is printed. PortAudio is started
// once for a play: from the first QueryFormat or Open until Close (or the
// device's end).
// Thread: as CWaveOut.
class CPortAudioWaveOut final : public CWaveOut {
public:
    CPortAudioWaveOut();
    CPortAudioWaveOut(const CPortAudioWaveOut&) = delete;
    CPortAudioWaveOut& operator=(const CPortAudioWaveOut&) = delete;
    ~CPortAudioWaveOut() override;

    // False for anything but 16-bit PCM in one or two channels at a non-zero
    // rate, and for a format the default device refuses. With no device to
    // ask, a playable-looking format passes and Open reports the failure.
    bool QueryFormat(const WaveFormat& format) override;
    bool Open(const WaveFormat& format, WaveOutDoneFn done, void* instance) override;
    bool Prepare(WaveBlock& block) override;
    bool Queue(WaveBlock& block) override;
    bool Unprepare(WaveBlock& block) override;
    // Waits for the queued blocks, then stops the stream so that PortAudio
    // plays out the sound it has buffered.
    bool Drain() override;
    bool Reset() override;
    bool Close() override;

    // Gaps in the sound since the last Open (see CWaveBlockQueue::Gaps).
    std::uint32_t Gaps() const;

private:
    CPortAudioSession& Session();
    static int StreamCallback(const void* input, void* output, unsigned long frames,
                              const PaStreamCallbackTimeInfo* timeInfo, unsigned long statusFlags, void* self);
    void FillOutput(std::uint8_t* output, std::size_t bytes);

    std::unique_ptr<CPortAudioSession> session;  // from the first query or open until Close
    void* stream = nullptr;                      // PortAudio stream while open
    std::uint16_t channels = 1;                  // of the open stream
    std::size_t headOffset = 0;                  // bytes of the head block already played; audio callback only
    CWaveBlockQueue queue;
    bool open = false;
};
