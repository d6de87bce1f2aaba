// Feeds arbitrary bytes, as an MP3 file, through the frame-header search,
// the MPEG decoder and the conversion to mono 16-bit. Traps when a result
// breaks the contracts that the header reader and the decoder give.
#include "fuzz/DecodeContract.h"
#include "sound/BellImport.h"
#include "sound/Mp3Header.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    BinaryFile file;
    if (!file.OpenMemory(data, size))
        return 0;
    CSoundBuffer sound;
    if (ReadMp3Header(sound, file) != LoadOK)
        return 0;
    const WaveFormat source = sound.format;
    if (source.formatTag != 85 || source.channels < 1 || source.channels > 2 || source.sampleRate < 8000 ||
        source.sampleRate > 48000 || sound.dataBytes != size || file.Position() != 0)
        __builtin_trap();

    std::vector<std::uint8_t> raw(data, data + size);
    const LoadResult decoded = DecodeToPcm16(sound, raw);
    CheckDecodeContract(source, decoded, sound, raw);
    if (decoded != LoadOK)
        return 0;

    // The whole load, as the application does it, on the same bytes.
    file.SeekToStart();
    CSoundBuffer bell;
    if (ReadMp3Header(bell, file) == LoadOK && ConvertToMono16(bell, file) == LoadOK) {
        if (bell.sampleCount != sound.sampleCount || bell.format.channels != 1)
            __builtin_trap();
        const std::int32_t onset = bell.FindOnset();
        if (onset < 0 || onset > bell.sampleCount)
            __builtin_trap();
    }
    return 0;
}
