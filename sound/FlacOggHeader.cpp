#include "sound/FlacOggHeader.h"

#include "sound/codec/SndfileDriver.h"

#include <sndfile.h>

#include <limits>

namespace {

// libsndfile's reader callbacks over an open BinaryFile.
sf_count_t FileLength(void* file)
{
    return static_cast<sf_count_t>(static_cast<BinaryFile*>(file)->Length());
}

sf_count_t FileTell(void* file)
{
    return static_cast<sf_count_t>(static_cast<BinaryFile*>(file)->Position());
}

// Moves to a position within the file, its end included; -1 for any other.
sf_count_t FileSeek(sf_count_t offset, int whence, void* file)
{
    auto& binary = *static_cast<BinaryFile*>(file);
    sf_count_t base = 0;
    if (whence == SEEK_CUR)
        base = FileTell(file);
    else if (whence == SEEK_END)
        base = FileLength(file);
    else if (whence != SEEK_SET)
        return -1;
    if (offset < -base || offset > FileLength(file) - base)
        return -1;
    binary.SeekToStart();
    return binary.Skip(static_cast<std::uint64_t>(base + offset)) ? base + offset : -1;
}

sf_count_t FileRead(void* buffer, sf_count_t bytes, void* file)
{
    return bytes <= 0
               ? 0
               : static_cast<sf_count_t>(static_cast<BinaryFile*>(file)->Read(buffer, static_cast<std::size_t>(bytes)));
}

sf_count_t FileWrite(const void*, sf_count_t, void*)
{
    return 0;
}

}  // namespace

LoadResult ReadFlacOggHeader(CSoundBuffer& sound, BinaryFile& file)
{
    SF_VIRTUAL_IO io{FileLength, FileSeek, FileRead, FileWrite, FileTell};
    SF_INFO info{};
    file.SeekToStart();
    SNDFILE* stream = sf_open_virtual(&io, SFM_READ, &info, &file);
    if (stream == nullptr)
        return LoadConversionError;
    sf_close(stream);
    const std::uint16_t tag = FlacOggFormatTag(info.format);
    const std::uint64_t length = file.Length();
    if (tag == 0 || info.channels <= 0 || info.channels > std::numeric_limits<std::uint16_t>::max() ||
        info.samplerate <= 0 || length > std::numeric_limits<std::uint32_t>::max())
        return LoadConversionError;
    sound.format = WaveFormat{};
    sound.format.formatTag = tag;
    sound.format.channels = static_cast<std::uint16_t>(info.channels);
    sound.format.sampleRate = static_cast<std::uint32_t>(info.samplerate);
    sound.dataBytes = static_cast<std::uint32_t>(length);
    sound.factSamples.reset();
    file.SeekToStart();
    return LoadOK;
}
