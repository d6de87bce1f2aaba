#include "sound/WavWriter.h"

#include "sound/DescriptorOutput.h"
#include "sound/LittleEndian.h"
#include "sound/WaveFormat.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kHeaderBytes = 48;
constexpr std::uint32_t kFormatBodyBytes = 20;
constexpr std::uint32_t kBytesPerSample = 2;
constexpr std::size_t kSamplesPerBlock = 8192;

std::array<std::uint8_t, kHeaderBytes> WavHeader(std::uint32_t rate, std::uint32_t dataLength)
{
    std::array<std::uint8_t, kHeaderBytes> header{};
    std::memcpy(&header[0], "RIFF", 4);
    PutLe32(&header[4], dataLength + 40);
    std::memcpy(&header[8], "WAVE", 4);
    std::memcpy(&header[12], "fmt ", 4);
    PutLe32(&header[16], kFormatBodyBytes);
    PutLe16(&header[20], kFormatPcm);
    PutLe16(&header[22], 1);
    PutLe32(&header[24], rate);
    PutLe32(&header[28], rate * kBytesPerSample);
    PutLe16(&header[32], kBytesPerSample);
    PutLe16(&header[34], 16);
    // Bytes 36..39, the extra size and the padding of the format body, stay 0.
    std::memcpy(&header[40], "data", 4);
    PutLe32(&header[44], dataLength);
    return header;
}

class WavWriter : public SoundFileWriter {
public:
    WavWriter(int descriptor, std::uint32_t rate, std::int64_t totalSamples)
        : descriptor(descriptor),
          output(descriptor),
          totalSamples(totalSamples)
    {
        const auto header = WavHeader(rate, static_cast<std::uint32_t>(totalSamples * kBytesPerSample));
        output.Write(header.data(), header.size());
    }

    bool Write(const std::int16_t* samples, std::size_t count) override
    {
        given += static_cast<std::int64_t>(count);
        if constexpr (std::endian::native == std::endian::little)
            return output.Write(samples, kBytesPerSample * count);
        std::array<std::uint8_t, kBytesPerSample * kSamplesPerBlock> block;
        for (std::size_t first = 0; first < count; first += kSamplesPerBlock) {
            const std::size_t n = std::min(kSamplesPerBlock, count - first);
            for (std::size_t i = 0; i < n; ++i)
                PutLe16(&block[kBytesPerSample * i], static_cast<std::uint16_t>(samples[first + i]));
            if (!output.Write(block.data(), kBytesPerSample * n))
                return false;
        }
        return true;
    }

    bool Finish() override
    {
        if (!output.Flush())
            return false;
        ending = given == totalSamples ? CheckFileLength(descriptor, output.Given()) : EIO;
        return ending == 0;
    }

    int Error() const override { return output.Error() != 0 ? output.Error() : ending; }

private:
    int descriptor;
    DescriptorOutput output;
    std::int64_t totalSamples;
    std::int64_t given = 0;
    int ending = 0;  // why Finish found the file wrong: too few samples, or its length
};

}  // namespace

std::unique_ptr<SoundFileWriter> OpenWavWriter(int descriptor, std::uint32_t rate, std::int64_t totalSamples)
{
    if (totalSamples < 0 || totalSamples > kMostWavSamples || rate > std::numeric_limits<std::uint32_t>::max() / 2)
        return nullptr;
    return std::make_unique<WavWriter>(descriptor, rate, totalSamples);
}
