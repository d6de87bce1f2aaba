#include "sound/SndfileWriter.h"

#include "sound/DescriptorOutput.h"
#include "sound/Resampler.h"

#include <sndfile.h>

#include <array>
#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kFramesPerWrite = 8192;

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

// libsndfile's view of the descriptor. Every write that does not go through
// whole is recorded in `failed`, whenever libsndfile makes it.
struct VirtualFile {
    int descriptor = -1;
    bool failed = false;
};

VirtualFile& FileOf(void* user)
{
    return *static_cast<VirtualFile*>(user);
}

sf_count_t VirtualLength(void* user)
{
    struct stat status {};
    return fstat(FileOf(user).descriptor, &status) == 0 ? status.st_size : -1;
}

sf_count_t VirtualSeek(sf_count_t offset, int whence, void* user)
{
    return lseek(FileOf(user).descriptor, offset, whence);
}

sf_count_t VirtualRead(void* bytes, sf_count_t count, void* user)
{
    for (;;) {
        const ssize_t got = read(FileOf(user).descriptor, bytes, static_cast<std::size_t>(count));
        if (got >= 0 || errno != EINTR)
            return got < 0 ? 0 : got;
    }
}

sf_count_t VirtualWrite(const void* bytes, sf_count_t count, void* user)
{
    VirtualFile& file = FileOf(user);
    if (file.failed || !WriteAll(file.descriptor, bytes, static_cast<std::size_t>(count))) {
        file.failed = true;
        return 0;
    }
    return count;
}

sf_count_t VirtualTell(void* user)
{
    return lseek(FileOf(user).descriptor, 0, SEEK_CUR);
}

class SndfileWriter : public SoundFileWriter {
public:
    SndfileWriter(int descriptor, std::int64_t totalSamples) : totalSamples(totalSamples)
    {
        file.descriptor = descriptor;
    }
    ~SndfileWriter() override
    {
        if (sound != nullptr)
            sf_close(sound);
    }
    SndfileWriter(const SndfileWriter&) = delete;
    SndfileWriter& operator=(const SndfileWriter&) = delete;

    bool Start(SoundFileFormat format, std::uint32_t rate, std::uint32_t writtenRate)
    {
        if (writtenRate != rate)
            resampler.emplace(rate, writtenRate);
        SF_INFO info{};
        info.samplerate = static_cast<int>(writtenRate);
        info.channels = 1;
        info.format = SndfileFormat(format);
        SF_VIRTUAL_IO io{VirtualLength, VirtualSeek, VirtualRead, VirtualWrite, VirtualTell};
        sound = sf_open_virtual(&io, SFM_WRITE, &info, &file);
        return sound != nullptr;
    }

    bool Write(const std::int16_t* samples, std::size_t count) override
    {
        given += static_cast<std::int64_t>(count);
        if (!resampler)
            return WriteFrames(samples, count);
        resampler->Push(samples, count);
        return WriteResampled();
    }

    bool Finish() override
    {
        if (resampler) {
            resampler->Finish();
            WriteResampled();
        }
        const bool closed = sf_close(sound) == 0;
        sound = nullptr;
        return closed && !file.failed && given == totalSamples;
    }

private:
    bool WriteFrames(const std::int16_t* frames, std::size_t count)
    {
        for (std::size_t first = 0; first < count && !file.failed; first += kFramesPerWrite) {
            const auto n = static_cast<sf_count_t>(std::min(kFramesPerWrite, count - first));
            if (sf_writef_short(sound, frames + first, n) != n || sf_error(sound) != SF_ERR_NO_ERROR)
                file.failed = true;
        }
        return !file.failed;
    }

    bool WriteResampled()
    {
        for (std::size_t n; !file.failed && (n = resampler->Pull(block.data(), block.size())) > 0;)
            WriteFrames(block.data(), n);
        return !file.failed;
    }

    VirtualFile file;
    SNDFILE* sound = nullptr;
    std::optional<Resampler> resampler;
    std::array<std::int16_t, kFramesPerWrite> block{};
    std::int64_t totalSamples;
    std::int64_t given = 0;
};

}  // namespace

std::unique_ptr<SoundFileWriter> OpenSndfileWriter(int descriptor, SoundFileFormat format, std::uint32_t rate,
                                                   std::int64_t totalSamples)
{
    const std::uint32_t writtenRate = WrittenSampleRate(format, rate);
    if (writtenRate == 0 || writtenRate > INT32_MAX || SndfileFormat(format) == 0)
        return nullptr;
    auto writer = std::make_unique<SndfileWriter>(descriptor, totalSamples);
    if (!writer->Start(format, rate, writtenRate))
        return nullptr;
    return writer;
}
