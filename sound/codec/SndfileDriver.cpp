#include "sound/codec/SndfileDriver.h"

#include "sound/LittleEndian.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

constexpr std::size_t kStandardFormatBytes = 18;
constexpr std::size_t kMaxExtraBytes = kWaveFormatBytes - kStandardFormatBytes;

// A WAV file's headers for `source` and `dataBytes` bytes of data: RIFF form,
// a format chunk of the record's standard fields and extra bytes, and the
// data chunk's header. The data itself follows them in the virtual file.
std::vector<std::uint8_t> WavHeaders(const WaveFormat& source, std::size_t dataBytes)
{
    const std::size_t extra = std::min<std::size_t>(source.extraSize, kMaxExtraBytes);
    WaveFormat format = source;
    format.extraSize = static_cast<std::uint16_t>(extra);
    const WaveFormatBytes body = PackWaveFormat(format);
    const std::size_t formatBytes = kStandardFormatBytes + extra;
    const std::size_t pad = formatBytes & 1u;

    std::vector<std::uint8_t> headers(12 + 8 + formatBytes + pad + 8, 0);
    const std::uint64_t riffBytes = headers.size() - 8 + std::uint64_t{dataBytes};
    std::memcpy(&headers[0], "RIFF", 4);
    PutLe32(&headers[4], static_cast<std::uint32_t>(std::min<std::uint64_t>(riffBytes, UINT32_MAX)));
    std::memcpy(&headers[8], "WAVEfmt ", 8);
    PutLe32(&headers[16], static_cast<std::uint32_t>(formatBytes));
    std::copy_n(body.begin(), formatBytes, headers.begin() + 20);
    const std::size_t data = 20 + formatBytes + pad;
    std::memcpy(&headers[data], "data", 4);
    PutLe32(&headers[data + 4], static_cast<std::uint32_t>(std::min<std::uint64_t>(dataBytes, UINT32_MAX)));
    return headers;
}

// The rebuilt headers (none for a whole FLAC or Ogg file) followed by the
// caller's data, read as one file.
struct VirtualWav {
    std::vector<std::uint8_t> headers;
    std::span<const std::uint8_t> data;
    sf_count_t position = 0;

    sf_count_t Length() const { return static_cast<sf_count_t>(headers.size() + data.size()); }
};

sf_count_t VirtualLength(void* file)
{
    return static_cast<VirtualWav*>(file)->Length();
}

sf_count_t VirtualSeek(sf_count_t offset, int whence, void* file)
{
    auto& wav = *static_cast<VirtualWav*>(file);
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = wav.position;
    else if (whence == SEEK_END)
        base = wav.Length();
    else if (whence != SEEK_SET)
        return -1;
    // Like a file, the position may pass the end (reads there deliver
    // nothing): the parser seeks past an odd-sized data chunk's pad byte,
    // which the rebuilt file need not hold, and refusing that seek sends it
    // round the same chunk for ever.
    if (offset < -base)
        return -1;
    wav.position = base + offset;
    return wav.position;
}

sf_count_t VirtualRead(void* buffer, sf_count_t bytes, void* file)
{
    auto& wav = *static_cast<VirtualWav*>(file);
    if (bytes <= 0 || wav.position >= wav.Length())
        return 0;
    auto* out = static_cast<std::uint8_t*>(buffer);
    const auto want = static_cast<std::size_t>(std::min(bytes, wav.Length() - wav.position));
    const auto at = static_cast<std::size_t>(wav.position);
    std::size_t copied = 0;
    if (at < wav.headers.size()) {
        copied = std::min(want, wav.headers.size() - at);
        std::memcpy(out, wav.headers.data() + at, copied);
    }
    if (copied < want)
        std::memcpy(out + copied, wav.data.data() + (at + copied - wav.headers.size()), want - copied);
    wav.position += static_cast<sf_count_t>(want);
    return static_cast<sf_count_t>(want);
}

sf_count_t VirtualWrite(const void*, sf_count_t, void*)
{
    return 0;
}

sf_count_t VirtualTell(void* file)
{
    return static_cast<VirtualWav*>(file)->position;
}

SF_VIRTUAL_IO kVirtualIo{VirtualLength, VirtualSeek, VirtualRead, VirtualWrite, VirtualTell};

std::int16_t ToPcm16(float value)
{
    const float scaled = value * 32768.0f;
    if (!(scaled > -32768.0f))  // NaN too
        return scaled < 0.0f ? std::numeric_limits<std::int16_t>::min() : 0;
    if (scaled >= 32767.0f)
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(std::lrint(scaled));
}

class SndfileStream final : public CodecStream {
public:
    explicit SndfileStream(VirtualWav wav) : wav_(std::move(wav)) {}
    ~SndfileStream() override
    {
        if (file_ != nullptr)
            sf_close(file_);
    }
    SndfileStream(const SndfileStream&) = delete;
    SndfileStream& operator=(const SndfileStream&) = delete;

    // True when the data opens with the record's channels and rate and, for
    // a FLAC or Ogg tag, as that container.
    bool Start(const WaveFormat& source)
    {
        file_ = sf_open_virtual(&kVirtualIo, SFM_READ, &info_, &wav_);
        const bool whole = source.formatTag == kFormatFlac || source.formatTag == kFormatOgg;
        return file_ != nullptr && (!whole || FlacOggFormatTag(info_.format) == source.formatTag) &&
               info_.channels == source.channels && info_.samplerate >= 0 &&
               static_cast<std::uint32_t>(info_.samplerate) == source.sampleRate;
    }

    std::optional<std::uint64_t> DecodedBytes() override
    {
        if (info_.frames == SF_COUNT_MAX)  // a stream that does not declare its length
            info_.frames = CountFrames();
        if (info_.frames < 0)
            return std::nullopt;
        return static_cast<std::uint64_t>(info_.frames) * static_cast<std::uint64_t>(info_.channels) * 2;
    }

    // Reads from where opening left the stream, its first frame (some
    // codecs cannot seek). Float output in normalised form throughout: integer codecs come out as
    // value / 32768 exactly, so scaling back loses nothing.
    bool Convert(std::span<std::uint8_t> out) override
    {
        const auto channels = static_cast<std::size_t>(info_.channels);
        std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * channels);
        std::size_t filled = 0;
        while (filled < out.size()) {
            const std::size_t wantValues = std::min(chunk.size(), (out.size() - filled) / 2);
            const sf_count_t wantFrames = static_cast<sf_count_t>((wantValues + channels - 1) / channels);
            const sf_count_t frames = sf_readf_float(file_, chunk.data(), wantFrames);
            if (frames <= 0)
                return false;
            const std::size_t values = std::min(static_cast<std::size_t>(frames) * channels, (out.size() - filled) / 2);
            for (std::size_t i = 0; i < values; ++i)
                PutLe16(&out[filled + 2 * i], static_cast<std::uint16_t>(ToPcm16(chunk[i])));
            filled += 2 * values;
            if (values == 0)
                return false;
        }
        return true;
    }

private:
    static constexpr sf_count_t kChunkFrames = 4096;

    // Decodes the whole stream to count its frames, stopping once there are
    // more than a sound can hold, and goes back to the first frame; -1 when
    // it cannot go back.
    sf_count_t CountFrames()
    {
        constexpr sf_count_t kMostFrames = std::numeric_limits<std::int32_t>::max();
        std::vector<float> chunk(static_cast<std::size_t>(kChunkFrames) * static_cast<std::size_t>(info_.channels));
        sf_count_t frames = 0;
        while (frames <= kMostFrames) {
            const sf_count_t got = sf_readf_float(file_, chunk.data(), kChunkFrames);
            if (got <= 0)
                break;
            frames += got;
        }
        return sf_seek(file_, 0, SEEK_SET) == 0 ? frames : -1;
    }

    VirtualWav wav_;
    SF_INFO info_{};
    SNDFILE* file_ = nullptr;
};

std::unique_ptr<CodecStream> StartStream(VirtualWav wav, const WaveFormat& source)
{
    auto stream = std::make_unique<SndfileStream>(std::move(wav));
    if (!stream->Start(source))
        return nullptr;
    return stream;
}

}  // namespace

std::unique_ptr<CodecStream> SndfileDriver::Open(const WaveFormat& source, std::span<const std::uint8_t> data) const
{
    return StartStream(VirtualWav{WavHeaders(source, data.size()), data}, source);
}

std::unique_ptr<CodecStream> FlacOggDriver::Open(const WaveFormat& source, std::span<const std::uint8_t> data) const
{
    return StartStream(VirtualWav{{}, data}, source);
}

std::uint16_t FlacOggFormatTag(int sndfileFormat)
{
    switch (sndfileFormat & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_FLAC: return kFormatFlac;
    case SF_FORMAT_OGG: return kFormatOgg;
    default: return 0;
    }
}
