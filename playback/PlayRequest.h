#pragma once

#include <cstdint>

// Which part of a sound to play, in samples. Owned by the caller; it must
// outlive the playback that was started with it.
struct PlayRequest {
    std::int32_t rangeStart = 0;  // first sample, used when useRange is 1
    std::int32_t rangeEnd = 0;    // end (exclusive), used when useRange is 1
    std::int32_t fullLength = 0;  // end (exclusive) when useRange is not 1; playing then starts at 0
    std::int32_t useRange = 0;    // 1 = play rangeStart..rangeEnd; any other value = 0..fullLength
};
