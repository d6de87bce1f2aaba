#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

// A buffered binary file over stdio, for reading. Owns its FILE*; closes it
// on destruction. Not copyable. (Files are written through FileReplacement's
// descriptor.)
class BinaryFile {
public:
    BinaryFile() = default;
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // Opens an existing file by path for reading; a folder is refused.
    bool Open(const std::string& path);
    // Opens `bytes` bytes at `data` for reading, as if they were a file of
    // that length. The memory is not copied: it must stay unchanged and alive
    // until the file is closed.
    bool OpenMemory(const void* data, std::size_t bytes);
    bool IsOpen() const { return file != nullptr; }

    // Reads up to `bytes` bytes; returns how many were delivered (fewer at the end).
    std::size_t Read(void* buffer, std::size_t bytes);
    void SeekToStart();
    // Moves `bytes` forward without reading them. False, with the position
    // unspecified, when that would pass the end of the file.
    bool Skip(std::uint64_t bytes);
    // Bytes from the start of the file to the current position.
    std::uint64_t Position() const;
    // The file's length in bytes from its status (or the memory's length).
    std::uint64_t Length() const;
    void Close();

private:
    bool SkipByReading(std::uint64_t bytes);

    std::FILE* file = nullptr;
    std::optional<std::uint64_t> memoryLength;  // set while a memory block is open
};
