#include "playback/PortAudioSession.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <portaudio.h>

#include <atomic>
#include <cstdlib>
#include <mutex>

namespace {

std::atomic<std::uint32_t> starts{0};

void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void IgnoreJackMessage(const char*) {}

void SilenceAudioLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        setenv("JACK_NO_START_SERVER", "1", 0);
        snd_lib_error_set_handler(IgnoreAlsaMessage);
        jack_set_error_function(IgnoreJackMessage);
        jack_set_info_function(IgnoreJackMessage);
    });
}

}  // namespace

CPortAudioSession::CPortAudioSession()
{
    SilenceAudioLibraries();
    ready = Pa_Initialize() == paNoError;
    if (ready)
        ++starts;
}

std::uint32_t CPortAudioSession::Starts()
{
    return starts.load();
}

CPortAudioSession::~CPortAudioSession()
{
    if (ready)
        Pa_Terminate();
}
