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
