#include "sound/codec/Mpg123Driver.h"

#include <mpg123.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <sys/types.h>

namespace {

// The source data as a seekable file for the decoder's reader callbacks.
struct MemoryReader {
    std::span<const std::uint8_t> data;
    std::size_t position = 0;
};

ssize_t ReadMemory(void* handle, void* buffer, size_t bytes)
{
    auto& reader = *static_cast<MemoryReader*>(handle);
    const std::size_t count = std::min(bytes, reader.data.size() - reader.position);
    if (count > 0)
        std::memcpy(buffer, reader.data.data() + reader.position, count);
    reader.position += count;
    return static_cast<ssize_t>(count);
}

off_t SeekMemory(void* handle, off_t offset, int whence)
{
    auto& reader = *static_cast<MemoryReader*>(handle);
    off_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<off_t>(reader.position);
    else if (whence == SEEK_END)
        base = static_cast<off_t>(reader.data.size());
    else if (whence != SEEK_SET)
        return -1;
    if (offset < -base || offset > static_cast<off_t>(reader.data.size()) - base)
        return -1;
    reader.position = static_cast<std::size_t>(base + offset);
    return static_cast<off_t>(reader.position);
}

class Mpg123Stream final : public CodecStream {
public:
    Mpg123Stream(mpg123_handle* handle, std::span<const std::uint8_t> data, const WaveFormat& source)
        : handle_(handle),
          reader_{data, 0},
          channels_(source.channels),
          rate_(source.sampleRate)
    {
    }
    ~Mpg123Stream() override
    {
        if (opened_)
            mpg123_close(handle_);
        mpg123_delete(handle_);
    }
    Mpg123Stream(const Mpg123Stream&) = delete;
    Mpg123Stream& operator=(const Mpg123Stream&) = delete;

    bool Start()
    {
        if (mpg123_replace_reader_handle(handle_, ReadMemory, SeekMemory, nullptr) != MPG123_OK)
            return false;
        opened_ = mpg123_open_handle(handle_, &reader_) == MPG123_OK;
        return opened_;
    }

    std::optional<std::uint64_t> DecodedBytes() override
    {
        if (!SameFormat() || mpg123_scan(handle_) != MPG123_OK)
            return std::nullopt;
        const off_t frames = mpg123_length(handle_);
        if (frames < 0)
            return std::nullopt;
        return static_cast<std::uint64_t>(frames) * channels_ * 2;
    }

    bool Convert(std::span<std::uint8_t> out) override
    {
        if (mpg123_seek(handle_, 0, SEEK_SET) < 0)
            return false;
        std::size_t filled = 0;
        while (filled < out.size()) {
            size_t done = 0;
            const int result = mpg123_read(handle_, out.data() + filled, out.size() - filled, &done);
            filled += done;
            if (result == MPG123_NEW_FORMAT && !SameFormat())
                return false;
            if (result == MPG123_DONE || (result != MPG123_OK && result != MPG123_NEW_FORMAT))
                break;
        }
        if (filled != out.size())
            return false;
        // The decoder writes host-order samples; the output is little-endian.
        if constexpr (std::endian::native == std::endian::big) {
            for (std::size_t at = 0; at + 1 < out.size(); at += 2)
                std::swap(out[at], out[at + 1]);
        }
        return true;
    }

private:
    bool SameFormat()
    {
        long rate = 0;
        int channels = 0;
        int encoding = 0;
        return mpg123_getformat(handle_, &rate, &channels, &encoding) == MPG123_OK &&
               rate == static_cast<long>(rate_) && channels == channels_ && encoding == MPG123_ENC_SIGNED_16;
    }

    mpg123_handle* handle_;
    MemoryReader reader_;
    int channels_;
    std::uint32_t rate_;
    bool opened_ = false;
};

// The decoder keeps each stream at its own rate, without resampling, and
// at the source record's channel count; a rate other than the record's is
// then refused when sizing. (Offering only the record's rate would make the
// library print to stderr when the stream differs.) Errors are not printed;
// junk before the first frame is skipped however long it is.
bool Configure(mpg123_handle* handle, const WaveFormat& source)
{
    const int channels = source.channels == 1 ? MPG123_MONO : source.channels == 2 ? MPG123_STEREO : 0;
    const long flags = MPG123_GAPLESS | MPG123_QUIET;
    if (channels == 0 || mpg123_param(handle, MPG123_ADD_FLAGS, flags, 0) != MPG123_OK ||
        mpg123_param(handle, MPG123_REMOVE_FLAGS, MPG123_AUTO_RESAMPLE, 0) != MPG123_OK ||
        mpg123_param(handle, MPG123_RESYNC_LIMIT, -1, 0) != MPG123_OK || mpg123_format_none(handle) != MPG123_OK)
        return false;
    const long* rates = nullptr;
    std::size_t count = 0;
    mpg123_rates(&rates, &count);
    for (std::size_t i = 0; i < count; ++i) {
        if (mpg123_format(handle, rates[i], channels, MPG123_ENC_SIGNED_16) != MPG123_OK)
            return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<CodecStream> Mpg123Driver::Open(const WaveFormat& source, std::span<const std::uint8_t> data) const
{
    static const bool initialised = mpg123_init() == MPG123_OK;
    if (!initialised)
        return nullptr;
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    if (handle == nullptr)
        return nullptr;
    auto stream = std::make_unique<Mpg123Stream>(handle, data, source);
    if (!Configure(handle, source) || !stream->Start())
        return nullptr;
    return stream;
}
