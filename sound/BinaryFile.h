#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

// A buffered binary file over stdio. Owns its FILE*; closes it on
// destruction. Not copyable; movable.
class BinaryFile {
public:
    enum Mode : unsigned {
        ModeRead = 1u << 0,
        ModeWrite = 1u << 1,
        ModeCreate = 1u << 2,  // with ModeWrite: create, or truncate an existing file
    };

    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;
    BinaryFile(BinaryFile&& other) noexcept;
    BinaryFile& operator=(BinaryFile&& other) noexcept;

    bool Open(const std::string& path, unsigned mode);
    bool IsOpen() const { return file_ != nullptr; }

    // Reads up to `bytes` bytes; returns how many were delivered (fewer at the end).
    std::size_t Read(void* buffer, std::size_t bytes);
    // Writes all `bytes`; false when any could not be written.
    bool Write(const void* buffer, std::size_t bytes);
    void SeekToStart();
    // The file's length in bytes from its status.
    std::uint64_t Length() const;
    // Flushes and closes; false when buffered data could not be written.
    bool Close();

private:
    std::FILE* file_ = nullptr;
};
