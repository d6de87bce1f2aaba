// Feeds arbitrary bytes through the decoding layer as the data of a WAV
// file whose format record the first bytes choose: a format tag from the
// codecs the layer knows (or any other), channels, rate, block size, bits
// and extra bytes, and an optional fact count.
#include "fuzz/DecodeContract.h"
#include "sound/LittleEndian.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

constexpr std::uint16_t kTags[] = {0x02, 0x11, 0x31, 0x06, 0x07, 0x03, 0xFFFE, 0x55, 0x50, 0x01, 0x160};
constexpr std::size_t kRecordBytes = 18;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kRecordBytes)
        return 0;
    CSoundBuffer sound;
    WaveFormat& f = sound.format;
    f.formatTag = kTags[data[0] % std::size(kTags)];
    f.channels = static_cast<std::uint16_t>(data[1] % 4);
    f.sampleRate = GetLe32(data + 2) % 200000;
    f.avgBytesPerSec = GetLe32(data + 6);
    f.blockAlign = GetLe16(data + 10);
    f.bitsPerSample = data[12];
    f.extraSize = static_cast<std::uint16_t>(data[13] % 40);
    if ((data[14] & 1) != 0)
        sound.factSamples = GetLe16(data + 15);
    std::size_t at = kRecordBytes;
    const std::size_t extra = std::min<std::size_t>({f.extraSize, f.extra.size(), size - at});
    std::copy_n(data + at, extra, f.extra.begin());
    at += extra;
    if (f.formatTag == 1)
        return 0;  // PCM never reaches the decoder

    std::vector<std::uint8_t> raw(data + at, data + size);
    sound.dataBytes = static_cast<std::uint32_t>(raw.size());
    const WaveFormat source = sound.format;
    CheckDecodeContract(source, DecodeToPcm16(sound, raw), sound, raw);
    return 0;
}
