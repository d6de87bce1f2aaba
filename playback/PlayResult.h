#pragma once

#include <cstdint>
#include <string>

// Result codes of starting playback.
enum PlayResult : std::int16_t {
    PlayOK = 0,
    PlayLengthZero = 1,
    PlayFormatNotSupported = 2,
    PlayOpenFailed = 3,
    PlayDriverFailure = 4,
};

// The fixed text shown for a code; "Sound error!" for any code not listed.
std::string PlayResultText(std::int16_t code);
