#include "sound/SoundFileWriter.h"

#include "sound/FileReplacement.h"
#include "sound/SndfileWriter.h"
#include "sound/WavWriter.h"

#include <algorithm>
#include <cerrno>

namespace {

constexpr std::int32_t kSamplesPerWrite = 65536;

}  // namespace

std::unique_ptr<SoundFileWriter> SoundFileWriter::Open(int descriptor, SoundFileFormat format, std::uint32_t rate,
                                                       std::int64_t totalSamples, int& error)
{
    if (format != SoundFileFormat::Wav)
        return OpenSndfileWriter(descriptor, format, rate, totalSamples, error);
    auto writer = OpenWavWriter(descriptor, rate, totalSamples);
    error = writer ? 0 : EINVAL;
    return writer;
}

bool NeedsSeekableFile(SoundFileFormat format)
{
    return format == SoundFileFormat::Mp3;
}

int WriteSoundFile(const CSoundBuffer& sound, SoundFileFormat format, int descriptor)
{
    const std::int32_t count = std::max(sound.sampleCount, 0);
    int error = 0;
    const auto writer = SoundFileWriter::Open(descriptor, format, sound.format.sampleRate, count, error);
    if (!writer)
        return error;
    for (std::int32_t first = 0; first < count; first += kSamplesPerWrite)
        if (!writer->Write(sound.samples.get() + first,
                           static_cast<std::size_t>(std::min(kSamplesPerWrite, count - first))))
            return writer->Error();
    writer->Finish();
    return writer->Error();
}

bool SaveSoundFile(CSoundBuffer& sound, SoundFileFormat format, const std::string& path, int* error)
{
    FileReplacement replacement(path);
    int failure = 0;
    if (!replacement.Create() || (failure = WriteSoundFile(sound, format, replacement.Descriptor())) != 0 ||
        !replacement.Commit()) {
        if (error != nullptr)
            *error = failure != 0 ? failure : replacement.Error();
        return false;
    }
    sound.fileName = path;
    sound.state = 1;
    return true;
}

bool SaveWavTo(CSoundBuffer& sound, const std::string& path, int* error)
{
    return SaveSoundFile(sound, SoundFileFormat::Wav, path, error);
}
