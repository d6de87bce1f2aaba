#include "sound/LittleEndian.h"
#include "sound/SoundFileWriter.h"
#include "sound/WavFile.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace {

constexpr std::size_t kHeaderBytes = 48;
constexpr std::uint32_t kFormatBodyBytes = 20;
constexpr std::size_t kSamplesPerWrite = 8192;

std::array<std::uint8_t, kHeaderBytes> WavHeader(const CSoundBuffer& sound)
{
    const std::uint32_t bytesPerSample = sound.format.bitsPerSample / 8u;
    const std::uint32_t count = static_cast<std::uint32_t>(std::max(sound.sampleCount, 0));
    const std::uint32_t dataLength = count * bytesPerSample;

    std::array<std::uint8_t, kHeaderBytes> header{};
    std::memcpy(&header[0], "RIFF", 4);
    PutLe32(&header[4], dataLength + 40);
    std::memcpy(&header[8], "WAVE", 4);
    std::memcpy(&header[12], "fmt ", 4);
    PutLe32(&header[16], kFormatBodyBytes);
    PutLe16(&header[20], kFormatPcm);
    PutLe16(&header[22], 1);
    PutLe32(&header[24], sound.format.sampleRate);
    PutLe32(&header[28], sound.format.sampleRate * bytesPerSample);
    PutLe16(&header[32], sound.format.blockAlign);
    PutLe16(&header[34], sound.format.bitsPerSample);
    // Bytes 36..39, the extra size and the padding of the format body, stay 0.
    std::memcpy(&header[40], "data", 4);
    PutLe32(&header[44], dataLength);
    return header;
}

}  // namespace

bool WriteWav(const CSoundBuffer& sound, BinaryFile& file)
{
    const auto header = WavHeader(sound);
    if (!file.Write(header.data(), header.size()))
        return false;
    const std::size_t count = static_cast<std::size_t>(std::max(sound.sampleCount, 0));
    if constexpr (std::endian::native == std::endian::little)
        return count == 0 || file.Write(sound.samples.get(), 2 * count);
    std::array<std::uint8_t, 2 * kSamplesPerWrite> block;
    for (std::size_t first = 0; first < count; first += kSamplesPerWrite) {
        const std::size_t n = std::min(kSamplesPerWrite, count - first);
        for (std::size_t i = 0; i < n; ++i)
            PutLe16(&block[2 * i], static_cast<std::uint16_t>(sound.samples[first + i]));
        if (!file.Write(block.data(), 2 * n))
            return false;
    }
    return true;
}

bool WriteWavFile(const CSoundBuffer& sound, const std::string& path)
{
    BinaryFile file;
    if (!file.Open(path, BinaryFile::ModeWrite | BinaryFile::ModeCreate))
        return false;
    const bool written = WriteWav(sound, file);
    return file.Close() && written;
}

bool SaveWavTo(CSoundBuffer& sound, const std::string& path)
{
    return SaveSoundFile(sound, SoundFileFormat::Wav, path);
}
