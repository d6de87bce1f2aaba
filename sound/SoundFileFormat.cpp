#include "sound/SoundFileFormat.h"

#include "base/AsciiCase.h"
#include <algorithm>
#include <array>
#include <span>
#include <string_view>

namespace {

struct FormatName {
    std::string_view extension;  // lower case, with its dot
    SoundFileFormat format;
};
constexpr std::array<FormatName, 5> kFormats{{
    {".wav", SoundFileFormat::Wav},
    {".flac", SoundFileFormat::Flac},
    {".ogg", SoundFileFormat::OggVorbis},
    {".opus", SoundFileFormat::Opus},
    {".mp3", SoundFileFormat::Mp3},
}};

constexpr std::array<std::uint32_t, 5> kOpusRates{8000, 12000, 16000, 24000, 48000};
constexpr std::array<std::uint32_t, 9> kMpegRates{8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000};
constexpr std::uint32_t kMostVorbisRate = 192000;
constexpr std::uint32_t kMostFlacRate = 655350;

// `rate` when the list holds it, else the lowest listed rate above it, else the highest.
std::uint32_t NearestListed(std::span<const std::uint32_t> rates, std::uint32_t rate)
{
    const auto above = std::lower_bound(rates.begin(), rates.end(), rate);
    return above != rates.end() ? *above : rates.back();
}

}  // namespace

std::optional<SoundFileFormat> SoundFileFormatFor(const std::string& path)
{
    const auto slash = path.rfind('/');
    const std::string_view name =
        slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return std::nullopt;
    std::string extension(name.substr(dot));
    std::transform(extension.begin(), extension.end(), extension.begin(), AsciiLower);
    for (const FormatName& entry : kFormats)
        if (entry.extension == extension)
            return entry.format;
    return std::nullopt;
}

std::uint32_t WrittenSampleRate(SoundFileFormat format, std::uint32_t rate)
{
    if (rate == 0)
        return 0;
    switch (format) {
    case SoundFileFormat::Wav: return rate;
    case SoundFileFormat::Flac: return rate <= kMostFlacRate ? rate : 0;
    case SoundFileFormat::OggVorbis: return std::min(rate, kMostVorbisRate);
    case SoundFileFormat::Opus: return NearestListed(kOpusRates, rate);
    case SoundFileFormat::Mp3: return NearestListed(kMpegRates, rate);
    }
    return 0;
}
