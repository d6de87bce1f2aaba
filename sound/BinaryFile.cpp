#include "sound/BinaryFile.h"

#include <sys/stat.h>
#include <utility>

BinaryFile::~BinaryFile()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

BinaryFile::BinaryFile(BinaryFile&& other) noexcept : file_(std::exchange(other.file_, nullptr)) {}

BinaryFile& BinaryFile::operator=(BinaryFile&& other) noexcept
{
    if (this != &other) {
        if (file_ != nullptr)
            std::fclose(file_);
        file_ = std::exchange(other.file_, nullptr);
    }
    return *this;
}

bool BinaryFile::Open(const std::string& path, unsigned mode)
{
    if (file_ != nullptr)
        Close();
    const char* how = nullptr;
    if ((mode & ModeWrite) != 0)
        how = (mode & ModeCreate) != 0 ? "wb" : "r+b";
    else if ((mode & ModeRead) != 0)
        how = "rb";
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

std::uint64_t BinaryFile::Length() const
{
    struct stat status {};
    if (file_ == nullptr || fstat(fileno(file_), &status) != 0)
        return 0;
    return static_cast<std::uint64_t>(status.st_size);
}

bool BinaryFile::Close()
{
    if (file_ == nullptr)
        return true;
    const bool flushed = std::fflush(file_) == 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return flushed && closed;
}
