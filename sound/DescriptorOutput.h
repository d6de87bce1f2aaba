#pragma once

#include <cstddef>
#include <vector>

// Writes every byte of `bytes` to `descriptor`, going on after partial
// writes and interruptions. False when the system refuses any of them.
bool WriteAll(int descriptor, const void* bytes, std::size_t count);

// Buffered, checked writes to a file descriptor it does not own: the bytes
// go out in blocks of 64 KB. Once a write has failed, every later Write and
// Flush returns false. One thread at a time.
class DescriptorOutput {
public:
    explicit DescriptorOutput(int descriptor);

    bool Write(const void* bytes, std::size_t count);
    // Writes out what is buffered.
    bool Flush();
    bool Failed() const { return failed; }

private:
    int descriptor;
    std::vector<unsigned char> buffer;
    bool failed = false;
};
