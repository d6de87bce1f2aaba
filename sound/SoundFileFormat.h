#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The formats a rendered sound is written in, chosen by the file name.
enum class SoundFileFormat { Wav, Flac, OggVorbis, Opus, Mp3 };

// The extensions, for messages: ".wav, .flac, .ogg, .opus or .mp3".
inline constexpr const char* kSoundFileExtensions = ".wav, .flac, .ogg, .opus or .mp3";

// The format a path's extension names, in any case: .wav, .flac, .ogg
// (Vorbis), .opus or .mp3. nullopt for any other extension, or none.
std::optional<SoundFileFormat> SoundFileFormatFor(const std::string& path);

// The sample rate a sound at `rate` (> 0) samples a second is written at in
// `format`: `rate` itself when the format takes it. Otherwise the lossy
// formats are resampled, to the lowest rate they take above `rate`, or
// their highest: Opus takes 8000, 12000, 16000, 24000 and 48000, MP3 the
// MPEG rates 8000 to 48000, Vorbis up to 192000. WAV takes every rate and
// FLAC up to 655350; FLAC, being lossless, is never resampled: 0 for a rate
// it cannot hold (and for a rate of 0 in any format).
std::uint32_t WrittenSampleRate(SoundFileFormat format, std::uint32_t rate);
