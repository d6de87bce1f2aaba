#include "sound/SoundFileWriter.h"

#include "sound/FileReplacement.h"
#include "sound/Resampler.h"
#include "sound/WavFile.h"

#include <sndfile.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace {

constexpr std::int32_t kFramesPerWrite = 8192;

int SndfileFormat(SoundFileFormat format)
{
    switch (format) {
    case SoundFileFormat::Flac: return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    case SoundFileFormat::OggVorbis: return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    case SoundFileFormat::Opus: return SF_FORMAT_OGG | SF_FORMAT_OPUS;
    case SoundFileFormat::Mp3: return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    case SoundFileFormat::Wav: break;
    }
    return 0;
}

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};

// Writes the sound's samples, or the resampler's output from them, block by block.
bool WriteFrames(SNDFILE* file, const CSoundBuffer& sound, const std::optional<Resampler>& resampler)
{
    const std::int64_t count = std::max(sound.sampleCount, 0);
    const std::int64_t frames = resampler ? resampler->OutputLength(count) : count;
    std::array<std::int16_t, kFramesPerWrite> block;
    for (std::int64_t first = 0; first < frames; first += kFramesPerWrite) {
        const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(kFramesPerWrite, frames - first));
        const std::int16_t* from = sound.samples.get() + first;
        if (resampler) {
            resampler->Render(sound.samples.get(), count, first, n, block.data());
            from = block.data();
        }
        if (sf_writef_short(file, from, n) != n || sf_error(file) != SF_ERR_NO_ERROR)
            return false;
    }
    return true;
}

}  // namespace

bool WriteSoundFile(const CSoundBuffer& sound, SoundFileFormat format, const std::string& path)
{
    if (format == SoundFileFormat::Wav)
        return WriteWavFile(sound, path);
    const std::uint32_t rate = WrittenSampleRate(format, sound.format.sampleRate);
    if (rate == 0 || rate > INT32_MAX)
        return false;
    std::optional<Resampler> resampler;
    if (rate != sound.format.sampleRate)
        resampler.emplace(sound.format.sampleRate, rate);

    SF_INFO info{};
    info.samplerate = static_cast<int>(rate);
    info.channels = 1;
    info.format = SndfileFormat(format);
    std::unique_ptr<SNDFILE, SndfileCloser> file(sf_open(path.c_str(), SFM_WRITE, &info));
    if (!file)
        return false;
    const bool written = WriteFrames(file.get(), sound, resampler);
    return sf_close(file.release()) == 0 && written;
}

bool SaveSoundFile(CSoundBuffer& sound, SoundFileFormat format, const std::string& path)
{
    FileReplacement replacement(path);
    if (!replacement.Create() || !WriteSoundFile(sound, format, replacement.TemporaryPath()) || !replacement.Commit())
        return false;
    sound.fileName = path;
    sound.state = 1;
    return true;
}
