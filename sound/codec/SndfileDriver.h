#pragma once

#include "sound/codec/CodecDriver.h"

// The WAV codecs: MS and IMA ADPCM, GSM 6.10, A-law, mu-law, IEEE float, and
// extensible PCM (8 to 32 bits) or float. The driver shows the codec a WAV
// file made in memory of the source format record and the data; float
// output is scaled by 32768 and saturated to 16 bits. The decoded length is
// that of whole codec blocks; the caller trims it to a fact chunk's count.
class SndfileDriver final : public CodecDriver {
public:
    std::unique_ptr<CodecStream> Open(const WaveFormat& source, std::span<const std::uint8_t> data) const override;
};

// A whole FLAC or Ogg file (Vorbis or Opus inside; format tags
// kFormatFlac and kFormatOgg) decoded as libsndfile reads it, float output
// scaled and saturated as above. The stream must be the container the tag
// names, with the record's channels and rate. The decoded length is the
// stream's own: a FLAC file's declared count, an Ogg file's last granule.
class FlacOggDriver final : public CodecDriver {
public:
    std::unique_ptr<CodecStream> Open(const WaveFormat& source, std::span<const std::uint8_t> data) const override;
};

// The format tag of a libsndfile format (SF_INFO::format): kFormatFlac or
// kFormatOgg for those containers, 0 for any other.
std::uint16_t FlacOggFormatTag(int sndfileFormat);
