// Feeds arbitrary bytes, as a file, through the WAV header reader and the
// conversion to mono 16-bit. Traps when a successful load breaks the
// guarantees that playback and rendering rely on.
#include "sound/BellImport.h"
#include "sound/WavFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    BinaryFile file;
    if (!file.OpenMemory(data, size))
        return 0;
    CSoundBuffer sound;
    if (ReadWavHeader(sound, file) != LoadOK)
        return 0;
    if (sound.dataBytes == 0 || sound.format.avgBytesPerSec == 0 || sound.sampleCount < 0)
        __builtin_trap();
    // PCM data never yields more samples than the file has bytes; compressed
    // data may (ADPCM and GSM expand four- to tenfold).
    const bool pcm = sound.format.formatTag == 1;
    if (ConvertToMono16(sound, file) != LoadOK)
        return 0;
    const bool mono16 = sound.format.formatTag == 1 && sound.format.channels == 1 && sound.format.bitsPerSample == 16 &&
                        sound.format.blockAlign == 2;
    if (!mono16 || sound.sampleCount < 0 || (pcm && static_cast<std::uint64_t>(sound.sampleCount) > size))
        __builtin_trap();
    if (sound.sampleCount > 0)
        static_cast<void>(*static_cast<volatile std::int16_t*>(&sound.samples[sound.sampleCount - 1]));
    const std::int32_t onset = sound.FindOnset();
    if (onset < 0 || onset > sound.sampleCount)
        __builtin_trap();
    return 0;
}
