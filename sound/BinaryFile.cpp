#include "sound/BinaryFile.h"

#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

BinaryFile::~BinaryFile()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept
    : file_(std::exchange(other.file_, nullptr)),
      memoryLength_(std::exchange(other.memoryLength_, std::nullopt))
{
}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept
{
    if (this != &other) {
        if (file_ != nullptr)
            std::fclose(file_);
        file_ = std::exchange(other.file_, nullptr);
        memoryLength_ = std::exchange(other.memoryLength_, std::nullopt);
    }
    return *this;
}

bool BinaryFile::Open(const std::string& path, unsigned mode)
{
    if (file_ != nullptr)
        Close();
    const char* how = nullptr;
    if ((mode & ModeWrite) != 0) {
        if ((mode & ModeCreate) == 0)
            how = "r+b";
        else
            how = (mode & ModeExclusive) != 0 ? "wbx" : "wb";
    } else if ((mode & ModeRead) != 0) {
        how = "rb";
    }
    if (how == nullptr)
        return false;
    file_ = std::fopen(path.c_str(), how);
    if (file_ == nullptr)
        return false;
    struct stat status {};
    if (fstat(fileno(file_), &status) != 0 || S_ISDIR(status.st_mode)) {
        std::fclose(file_);
        file_ = nullptr;
        return false;
    }
    return true;
}

bool BinaryFile::OpenMemory(const void* data, std::size_t bytes)
{
    if (file_ != nullptr)
        Close();
    // Reading never writes through the pointer; fmemopen only wants it non-const.
    file_ = fmemopen(const_cast<void*>(data), bytes, "rb");
    if (file_ == nullptr)
        return false;
    memoryLength_ = bytes;
    return true;
}

std::size_t BinaryFile::Read(void* buffer, std::size_t bytes)
{
    return file_ == nullptr ? 0 : std::fread(buffer, 1, bytes, file_);
}

bool BinaryFile::Write(const void* buffer, std::size_t bytes)
{
    return file_ != nullptr && std::fwrite(buffer, 1, bytes, file_) == bytes;
}

void BinaryFile::SeekToStart()
{
    if (file_ != nullptr)
        std::rewind(file_);
}

bool BinaryFile::Skip(std::uint64_t bytes)
{
    if (file_ == nullptr)
        return false;
    const bool seekable = bytes <= static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
    if (seekable && fseeko(file_, static_cast<off_t>(bytes), SEEK_CUR) == 0)
        return Position() <= Length();
    return SkipByReading(bytes);  // streams that cannot seek
}

bool BinaryFile::SkipByReading(std::uint64_t bytes)
{
    char scrap[4096];
    while (bytes > 0) {
        const std::size_t want = bytes < sizeof scrap ? static_cast<std::size_t>(bytes) : sizeof scrap;
        const std::size_t got = std::fread(scrap, 1, want, file_);
        if (got == 0)
            return false;
        bytes -= got;
    }
    return true;
}

std::uint64_t BinaryFile::Position() const
{
    if (file_ == nullptr)
        return 0;
    const off_t position = ftello(file_);
    return position < 0 ? 0 : static_cast<std::uint64_t>(position);
}

std::uint64_t BinaryFile::Length() const
{
    if (memoryLength_)
        return *memoryLength_;
    struct stat status {};
    if (file_ == nullptr || fstat(fileno(file_), &status) != 0)
        return 0;
    return static_cast<std::uint64_t>(status.st_size);
}

bool BinaryFile::Sync()
{
    if (file_ == nullptr || std::fflush(file_) != 0)
        return false;
    return memoryLength_ || fsync(fileno(file_)) == 0;
}

bool BinaryFile::Close()
{
    memoryLength_.reset();
    if (file_ == nullptr)
        return true;
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return flushed && closed;
}
