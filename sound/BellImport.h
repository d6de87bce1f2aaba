#pragma once

#include "sound/BinaryFile.h"
#include "sound/LoadResult.h"
#include "sound/SoundBuffer.h"

#include <cstdint>
#include <string>

// Loads one bell sample from `path` into `bell`, everything after the file
// choice: fileName = path and state = 0 first; open; by the extension, in
// any case, the WAV reader for ".wav", the FLAC and Ogg reader for ".flac"
// and ".ogg", the MP3 reader otherwise; ConvertToMono16; onset; state 1 on
// success. The file is closed on every path.
LoadResult LoadBellFile(CSoundBuffer& bell, const std::string& path);

// Reads dataBytes of sample data from the file's position and turns it into
// the mono 16-bit array (decoding non-PCM data first). A sound declaring a
// sample rate of 0 is refused at once with LoadFormatNotSupported, leaving
// the array as it was. LoadNoData when the
// data runs past the end of the file (found before any memory is taken) or
// memory cannot be had; the codes of DecodeToPcm16; LoadFormatNotSupported
// unless channels + bitsPerSample is 9, 10, 17 or 18 (8 or 16 bits, mono or
// stereo), after the old array has been replaced by an unset one.
// sampleCount is lowered to the whole frames the data holds, so no sample is
// read beyond it. On LoadOK the format is mono 16-bit PCM at the same rate.
LoadResult ConvertToMono16(CSoundBuffer& sound, BinaryFile& file);

// The text shown when the sample-rate rule refuses a bell.
inline constexpr const char* kSampleRateMismatchText = "all files must have same sample rate";

// The same-sample-rate rule, applied after a successful load. A
// commonSampleRate of 0 takes the bell's rate. A different, non-zero one
// refuses the bell: its state becomes 0 and its fileName "". Returns false
// when the bell was refused.
bool ApplySampleRateRule(CSoundBuffer& bell, std::uint32_t& commonSampleRate);
