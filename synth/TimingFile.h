#pragma once

#include "synth/BlowLog.h"

#include <cstdint>

// The first line of a timing file.
inline constexpr const char* kTimingFileHeader = "row,place,bell,stroke,ideal_sample,strike_sample";

// Writes `log` as a timing file through `descriptor` (an empty file open
// for writing, not closed here): the header,
// then one line per blow in the log's order, e.g. "12,3,5,hand,104448,104461":
// row from 0, place and bell from 1, "hand" or "back", and the blow's ideal
// and strike times in samples at `fileRate`, the rate of the sound file
// written beside it (render samples * fileRate / renderRate, rounded, when
// that file was resampled). Every write is checked; returns 0, or the error
// number (errno) of the write that failed, and the file may then be
// incomplete, so callers write to a temporary file.
int WriteTimingFile(const BlowLog& log, std::uint32_t renderRate, std::uint32_t fileRate, int descriptor);
