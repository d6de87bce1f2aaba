#include "sound/SndfileWriter.h"

#include "sound/DescriptorOutput.h"
#include "sound/Resampler.h"

#include <sndfile.h>

#include <algorithm>
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

// libsndfile's view of the descriptor. The error of every write that does
// not go through whole is recorded, whenever libsndfile makes it, and so is
// that of a seek, in case it stops the encoder (a FIFO cannot seek).
struct VirtualFile {
    int descriptor = -1;
    int error = 0;
    int seekError = 0;
    sf_count_t position = 0;
    sf_count_t end = 0;  // the length written
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
    VirtualFile& file = FileOf(user);
    const off_t at = lseek(file.descriptor, offset, whence);
    if (at < 0)
        file.seekError = errno;
    else
        file.position = at;
    return at;
}

sf_count_t VirtualRead(void* bytes, sf_count_t count, void* user)
{
    VirtualFile& file = FileOf(user);
    for (;;) {
        const ssize_t got = read(file.descriptor, bytes, static_cast<std::size_t>(count));
        if (got >= 0 || errno != EINTR) {
            file.position += got < 0 ? 0 : got;
            return got < 0 ? 0 : got;
        }
    }
}

sf_count_t VirtualWrite(const void* bytes, sf_count_t count, void* user)
{
    VirtualFile& file = FileOf(user);
    if (file.error == 0)
        file.error = WriteAll(file.descriptor, bytes, static_cast<std::size_t>(count));
    if (file.error != 0)
        return 0;
    file.position += count;
    file.end = std::max(file.end, file.position);
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

    // Starts the encoder; 0, or why not.
    int Start(SoundFileFormat format, std::uint32_t rate, std::uint32_t writtenRate)
    {
        if (writtenRate != rate)
            resampler.emplace(rate, writtenRate);
        SF_INFO info{};
        info.samplerate = static_cast<int>(writtenRate);
        info.channels = 1;
        info.format = SndfileFormat(format);
        SF_VIRTUAL_IO io{VirtualLength, VirtualSeek, VirtualRead, VirtualWrite, VirtualTell};
        sound = sf_open_virtual(&io, SFM_WRITE, &info, &file);
        if (sound == nullptr)
            Failed();
        return file.error;
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
        if (!closed)
            Failed();
        if (file.error == 0 && given != totalSamples)
            file.error = EIO;
        if (file.error == 0)
            file.error = CheckFileLength(file.descriptor, file.end);
        return file.error == 0;
    }

    int Error() const override { return file.error; }

private:
    bool WriteFrames(const std::int16_t* frames, std::size_t count)
    {
        for (std::size_t first = 0; first < count && file.error == 0; first += kFramesPerWrite) {
            const auto n = static_cast<sf_count_t>(std::min(kFramesPerWrite, count - first));
            if (sf_writef_short(sound, frames + first, n) != n || sf_error(sound) != SF_ERR_NO_ERROR)
                Failed();
        }
        return file.error == 0;
    }

    // The encoder stopped: by a failed write, else a failed seek, else for its own reasons.
    void Failed()
    {
        if (file.error == 0)
            file.error = file.seekError != 0 ? file.seekError : EIO;
    }

    bool WriteResampled()
    {
        for (std::size_t n; file.error == 0 && (n = resampler->Pull(block.data(), block.size())) > 0;)
            WriteFrames(block.data(), n);
        return file.error == 0;
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
                                                   std::int64_t totalSamples, int& error)
{
    const std::uint32_t writtenRate = WrittenSampleRate(format, rate);
    error = EINVAL;
    if (writtenRate == 0 || writtenRate > INT32_MAX || SndfileFormat(format) == 0)
        return nullptr;
    auto writer = std::make_unique<SndfileWriter>(descriptor, totalSamples);
    error = writer->Start(format, rate, writtenRate);
    if (error != 0)
        return nullptr;
    return writer;
}
