#pragma once

#include <array>
#include <cstdint>

// A sound's wave format: the standard fields of a WAV format chunk followed by
// up to 38 extra bytes, 56 bytes in all when laid out as in a file.
// Numbers are host values; files hold them little-endian.
struct WaveFormat {
    std::uint16_t formatTag = 0;  // 1 = PCM, 85 = MPEG Layer-3, kFormatFlac, kFormatOgg, or any WAV code
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;  // sample frames per second
    std::uint32_t avgBytesPerSec = 0;
    std::uint16_t blockAlign = 0;  // bytes per sample frame
    std::uint16_t bitsPerSample = 0;
    std::uint16_t extraSize = 0;  // number of extra bytes that follow
    std::array<std::uint8_t, 38> extra{};
};

inline constexpr std::uint16_t kFormatPcm = 1;
inline constexpr std::uint16_t kFormatMpegLayer3 = 85;
// Sound data that is a whole FLAC or Ogg stream, decoded by libsndfile (the
// tags that name FLAC and Ogg Vorbis in WAV format chunks).
inline constexpr std::uint16_t kFormatFlac = 0xF1AC;
inline constexpr std::uint16_t kFormatOgg = 0x674F;
inline constexpr std::size_t kWaveFormatBytes = 56;  // room for a whole format chunk body

// Copies the seven standard fields; the extra bytes are not copied.
void CopyFormat(const WaveFormat& from, WaveFormat& to);

// The format laid out as in a file: the standard fields little-endian in
// their order (18 bytes), then the extra bytes.
using WaveFormatBytes = std::array<std::uint8_t, kWaveFormatBytes>;
WaveFormatBytes PackWaveFormat(const WaveFormat& format);
WaveFormat UnpackWaveFormat(const WaveFormatBytes& bytes);
