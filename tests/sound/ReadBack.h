#pragma once

#include <sndfile.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

// Reading written sound files back in tests: through ffmpeg, the decoder
// independent of the code under test, and through libsndfile.

// A sound file as ffmpeg, a decoder independent of the code under test,
// reads it: the stream's rate and channels, and every sample as 16-bit
// interleaved frames at that rate.
struct FfmpegDecoded {
    std::uint32_t rate = 0;
    int channels = 0;
    std::string codec;
    std::vector<std::int16_t> samples;
    std::size_t Frames() const { return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0; }
};

inline bool HaveFfmpeg()
{
    return std::system("ffmpeg -version >/dev/null 2>&1 && ffprobe -version >/dev/null 2>&1") == 0;
}

// nullopt when ffmpeg cannot read the file (or is not installed).
inline std::optional<FfmpegDecoded> DecodeWithFfmpeg(const std::string& path)
{
    FfmpegDecoded decoded;
    const std::string probe =
        "ffprobe -v error -select_streams a:0 -show_entries stream=codec_name,sample_rate,channels"
        " -of default=noprint_wrappers=1 '" +
        path + "'";
    FILE* text = popen(probe.c_str(), "r");
    if (text == nullptr)
        return std::nullopt;
    char line[256];
    while (std::fgets(line, sizeof line, text) != nullptr) {
        const std::string entry(line);
        const auto equals = entry.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = entry.substr(0, equals);
        const std::string value = entry.substr(equals + 1, entry.find_last_not_of("\r\n") - equals);
        if (key == "sample_rate")
            decoded.rate = static_cast<std::uint32_t>(std::strtoul(value.c_str(), nullptr, 10));
        else if (key == "channels")
            decoded.channels = std::atoi(value.c_str());
        else if (key == "codec_name")
            decoded.codec = value;
    }
    if (pclose(text) != 0 || decoded.rate == 0)
        return std::nullopt;

    const std::string decode = "ffmpeg -v error -i '" + path + "' -f s16le -acodec pcm_s16le -";
    FILE* pipe = popen(decode.c_str(), "r");
    if (pipe == nullptr)
        return std::nullopt;
    std::vector<unsigned char> bytes;
    unsigned char block[65536];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, pipe)) > 0;)
        bytes.insert(bytes.end(), block, block + n);
    if (pclose(pipe) != 0)
        return std::nullopt;
    for (std::size_t k = 0; k + 1 < bytes.size(); k += 2)
        decoded.samples.push_back(static_cast<std::int16_t>(bytes[k] | bytes[k + 1] << 8));
    return decoded;
}

// A sound file as libsndfile reads it: rate, channels and interleaved samples.
struct SndfileReadBack {
    int rate = 0;
    int channels = 0;
    std::vector<std::int16_t> samples;
};

inline SndfileReadBack ReadWithSndfile(const std::string& path)
{
    SndfileReadBack read;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr)
        return read;
    read.rate = info.samplerate;
    read.channels = info.channels;
    read.samples.resize(static_cast<std::size_t>(info.frames * info.channels));
    read.samples.resize(
        static_cast<std::size_t>(sf_read_short(file, read.samples.data(), info.frames * info.channels)));
    sf_close(file);
    return read;
}
