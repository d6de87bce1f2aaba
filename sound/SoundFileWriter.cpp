#include "sound/SoundFileWriter.h"

#include "sound/FileReplacement.h"
#include "sound/SndfileWriter.h"
#include "sound/WavWriter.h"

#include <algorithm>

namespace {

constexpr std::int32_t kSamplesPerWrite = 65536;

}  // namespace

std::unique_ptr<SoundFileWriter> SoundFileWriter::Open(int descriptor, SoundFileFormat format, std::uint32_t rate,
                                                       std::int64_t totalSamples)
{
    if (format == SoundFileFormat::Wav)
        return OpenWavWriter(descriptor, rate, totalSamples);
    return OpenSndfileWriter(descriptor, format, rate, totalSamples);
}

bool WriteSoundFile(const CSoundBuffer& sound, SoundFileFormat format, int descriptor)
{
    const std::int32_t count = std::max(sound.sampleCount, 0);
    const auto writer = SoundFileWriter::Open(descriptor, format, sound.format.sampleRate, count);
    if (!writer)
        return false;
    for (std::int32_t first = 0; first < count; first += kSamplesPerWrite)
        if (!writer->Write(sound.samples.get() + first,
                           static_cast<std::size_t>(std::min(kSamplesPerWrite, count - first))))
            return false;
    return writer->Finish();
}

bool SaveSoundFile(CSoundBuffer& sound, SoundFileFormat format, const std::string& path)
{
    FileReplacement replacement(path);
    if (!replacement.Create() || !WriteSoundFile(sound, format, replacement.Descriptor()) || !replacement.Commit())
        return false;
    sound.fileName = path;
    sound.state = 1;
    return true;
}

bool SaveWavTo(CSoundBuffer& sound, const std::string& path)
{
    return SaveSoundFile(sound, SoundFileFormat::Wav, path);
}
