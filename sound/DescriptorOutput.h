#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Writes every byte of `bytes` to `descriptor`, going on after partial
// writes and interruptions. Returns 0, or the system's error number (errno)
// of the write refused (EIO when one wrote nothing without one).
int WriteAll(int descriptor, const void* bytes, std::size_t count);

// 0 when the file open at `descriptor` holds `bytes` bytes, or is no regular
// file (a FIFO, a device), whose length says nothing; else EIO, or the
// error of asking.
int CheckFileLength(int descriptor, std::int64_t bytes);

// Buffered, checked writes to a file descriptor it does not own: the bytes
// go out in blocks of 64 KB. Once a write has failed, every later Write and
// Flush returns false. One thread at a time.
class DescriptorOutput {
public:
    explicit DescriptorOutput(int descriptor);

    bool Write(const void* bytes, std::size_t count);
    // Writes out what is buffered.
    bool Flush();
    // The error number of the write that failed; 0 while none has.
    int Error() const { return error; }
    // The bytes given to Write so far.
    std::int64_t Given() const { return given; }

private:
    int descriptor;
    std::vector<unsigned char> buffer;
    std::int64_t given = 0;
    int error = 0;
};
