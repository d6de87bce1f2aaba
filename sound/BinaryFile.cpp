#include "sound/BinaryFile.h"

#include <limits>
#include <sys/stat.h>
#include <unistd.h>

BinaryFile::~BinaryFile()
{
    if (file != nullptr)
        std::fclose(file);
}

bool BinaryFile::Open(const std::string& path)
{
    if (file != nullptr)
        Close();
    file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    struct stat status {};
    if (fstat(fileno(file), &status) != 0 || S_ISDIR(status.st_mode)) {
        std::fclose(file);
        file = nullptr;
        return false;
    }
    return true;
}

bool BinaryFile::OpenMemory(const void* data, std::size_t bytes)
{
    if (file != nullptr)
        Close();
    // Reading never writes through the pointer; fmemopen only wants it non-const.
    file = fmemopen(const_cast<void*>(data), bytes, "rb");
    if (file == nullptr)
        return false;
    memoryLength = bytes;
    return true;
}

std::size_t BinaryFile::Read(void* buffer, std::size_t bytes)
{
    return file == nullptr ? 0 : std::fread(buffer, 1, bytes, file);
}

void BinaryFile::SeekToStart()
{
    if (file != nullptr)
        std::rewind(file);
}

bool BinaryFile::Skip(std::uint64_t bytes)
{
    if (file == nullptr)
        return false;
    const bool seekable = bytes <= static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
    if (seekable && fseeko(file, static_cast<off_t>(bytes), SEEK_CUR) == 0)
        return Position() <= Length();
    return SkipByReading(bytes);  // streams that cannot seek
}

bool BinaryFile::SkipByReading(std::uint64_t bytes)
{
    char scrap[4096];
    while (bytes > 0) {
        const std::size_t want = bytes < sizeof scrap ? static_cast<std::size_t>(bytes) : sizeof scrap;
        const std::size_t got = std::fread(scrap, 1, want, file);
        if (got == 0)
            return false;
        bytes -= got;
    }
    return true;
}

std::uint64_t BinaryFile::Position() const
{
    if (file == nullptr)
        return 0;
    const off_t position = ftello(file);
    return position < 0 ? 0 : static_cast<std::uint64_t>(position);
}

std::uint64_t BinaryFile::Length() const
{
    if (memoryLength)
        return *memoryLength;
    struct stat status {};
    if (file == nullptr || fstat(fileno(file), &status) != 0)
        return 0;
    return static_cast<std::uint64_t>(status.st_size);
}

void BinaryFile::Close()
{
    memoryLength.reset();
    if (file != nullptr)
        std::fclose(file);
    file = nullptr;
}
