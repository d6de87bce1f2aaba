#pragma once

#include <cstddef>
#include <cstdint>

// Takes a sound's 16-bit mono samples in order, block by block: a file
// being written as a render goes. Used by one thread at a time.
class SampleSink {
public:
    virtual ~SampleSink() = default;

    // Takes the next `count` samples. False when they could not be taken;
    // the sink has then failed and the caller stops.
    virtual bool Write(const std::int16_t* samples, std::size_t count) = 0;
};
