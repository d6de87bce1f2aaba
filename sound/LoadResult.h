#pragma once

#include <cstdint>
#include <string>

// Result codes of loading a bell sample.
enum LoadResult : std::int16_t {
    LoadOK = 0,
    LoadOpenFailed = 1,
    LoadBadWav = 2,
    LoadNoData = 3,
    LoadNoRiff = 4,
    LoadBadFormatChunk = 5,
    LoadFormatNotSupported = 6,
    LoadConversionError = 7,
    LoadConversionImpossible = 8,
    LoadBadMp3 = 9,
    LoadNoFileSelected = 10,
};

// The fixed text shown for a code; "Bad file!" for any code not listed.
std::string LoadResultText(std::int16_t code);
