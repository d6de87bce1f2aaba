#pragma once

#include <cstdint>

// Keeps PortAudio initialised for the lifetime of the object; sessions nest.
//
// The first session of the process silences the diagnostics that ALSA and
// JACK print on stderr while PortAudio looks for devices (pages of them on a
// machine without a sound card: the user is to see only Carillix's own
// message), and asks JACK not to start a server unless the environment
// already says otherwise. Both are process-wide settings; Carillix uses ALSA
// and JACK only through PortAudio.
//
// Thread: the controlling thread of a wave output.
class CPortAudioSession {
public:
    CPortAudioSession();
    CPortAudioSession(const CPortAudioSession&) = delete;
    CPortAudioSession& operator=(const CPortAudioSession&) = delete;
    ~CPortAudioSession();

    // Whether PortAudio initialised; nothing works through a failed session.
    bool IsReady() const { return ready; }
    // How many sessions of this process have initialised PortAudio.
    static std::uint32_t Starts();

private:
    bool ready = false;
};
