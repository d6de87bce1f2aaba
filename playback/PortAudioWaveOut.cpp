#include "playback/PortAudioWaveOut.h"

#include "playback/PortAudioSession.h"

#include <portaudio.h>

#include <algorithm>
#include <cstring>

namespace {

bool IsPlayablePcm(const WaveFormat& format)
{
    return format.formatTag == kFormatPcm && format.bitsPerSample == 16 && format.channels >= 1 &&
           format.channels <= 2 && format.sampleRate > 0;
}

// Fills `parameters` for the default output device; false when there is none.
bool DefaultOutput(const WaveFormat& format, PaStreamParameters& parameters)
{
    const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
    if (device == paNoDevice)
        return false;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
    if (info == nullptr)
        return false;
    parameters = {};
    parameters.device = device;
    parameters.channelCount = format.channels;
    parameters.sampleFormat = paInt16;
    parameters.suggestedLatency = info->defaultHighOutputLatency;
    return true;
}

}  // namespace

CPortAudioWaveOut::CPortAudioWaveOut() = default;

CPortAudioWaveOut::~CPortAudioWaveOut()
{
    Close();
}

CPortAudioSession& CPortAudioWaveOut::Session()
{
    if (!session)
        session = std::make_unique<CPortAudioSession>();
    return *session;
}

bool CPortAudioWaveOut::QueryFormat(const WaveFormat& format)
{
    if (!IsPlayablePcm(format))
        return false;
    PaStreamParameters parameters;
    if (!Session().IsReady() || !DefaultOutput(format, parameters))
        return true;
    return Pa_IsFormatSupported(nullptr, &parameters, format.sampleRate) == paFormatIsSupported;
}

bool CPortAudioWaveOut::Open(const WaveFormat& format, WaveOutDoneFn done, void* instance)
{
    if (open || !IsPlayablePcm(format))
        return false;
    PaStreamParameters parameters;
    if (!Session().IsReady() || !DefaultOutput(format, parameters))
        return false;
    PaStream* opened = nullptr;
    if (Pa_OpenStream(&opened, nullptr, &parameters, format.sampleRate, paFramesPerBufferUnspecified, paNoFlag,
                      &CPortAudioWaveOut::StreamCallback, this) != paNoError)
        return false;
    channels = format.channels;
    headOffset = 0;
    queue.Start(done, instance);
    if (Pa_StartStream(opened) != paNoError) {
        queue.Stop();
        Pa_CloseStream(opened);
        return false;
    }
    stream = opened;
    open = true;
    return true;
}

bool CPortAudioWaveOut::Prepare(WaveBlock& block)
{
    return open && queue.Prepare(block);
}

bool CPortAudioWaveOut::Queue(WaveBlock& block)
{
    return open && queue.Queue(block);
}

bool CPortAudioWaveOut::Unprepare(WaveBlock& block)
{
    return open && queue.Unprepare(block);
}

bool CPortAudioWaveOut::Drain()
{
    if (!open)
        return false;
    queue.WaitUntilPlayed();
    if (Pa_IsStreamStopped(stream) == 1)
        return true;
    return Pa_StopStream(stream) == paNoError;
}

bool CPortAudioWaveOut::Reset()
{
    if (!open)
        return false;
    const bool stopped = Pa_IsStreamStopped(stream) == 1 || Pa_AbortStream(stream) == paNoError;
    queue.Flush();
    headOffset = 0;
    return stopped && Pa_StartStream(stream) == paNoError;
}

bool CPortAudioWaveOut::Close()
{
    if (!open) {
        session.reset();
        return false;
    }
    if (Pa_IsStreamStopped(stream) == 0)
        Pa_AbortStream(stream);
    queue.Stop();
    const bool closed = Pa_CloseStream(stream) == paNoError;
    stream = nullptr;
    session.reset();
    open = false;
    return closed;
}

std::uint32_t CPortAudioWaveOut::Gaps() const
{
    return queue.Gaps();
}

int CPortAudioWaveOut::StreamCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                                      unsigned long, void* self)
{
    auto* device = static_cast<CPortAudioWaveOut*>(self);
    const std::size_t frameBytes = 2 * static_cast<std::size_t>(device->channels);
    device->FillOutput(static_cast<std::uint8_t*>(output), frames * frameBytes);
    return paContinue;
}

void CPortAudioWaveOut::FillOutput(std::uint8_t* output, std::size_t bytes)
{
    while (bytes > 0) {
        const WaveBlock* head = queue.Head();
        if (head == nullptr) {
            std::memset(output, 0, bytes);
            return;
        }
        const std::size_t n = std::min<std::size_t>(bytes, head->bufferLength - headOffset);
        if (n > 0)
            std::memcpy(output, reinterpret_cast<const std::uint8_t*>(head->data) + headOffset, n);
        output += n;
        bytes -= n;
        headOffset += n;
        if (headOffset >= head->bufferLength) {
            headOffset = 0;
            queue.FinishHead();
        }
    }
}
