#pragma once

#include "sound/codec/CodecDriver.h"

// MPEG audio, Layers I, II and III (format tags 0x50 and 0x55), decoded from
// memory with gapless trimming. The output is forced to the source record's
// channels (a stereo stream is mixed down, a mono one doubled) and rate: a
// stream at any other rate cannot be sized. Sizing scans the whole stream,
// so the decoded length is exact.
class Mpg123Driver final : public CodecDriver {
public:
    std::unique_ptr<CodecStream> Open(const WaveFormat& source, std::span<const std::uint8_t> data) const override;
};
