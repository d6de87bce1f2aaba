#pragma once

#include "sound/SoundFileFormat.h"
#include "sound/SoundFileWriter.h"

#include <cstdint>
#include <memory>

// The FLAC, Vorbis, Opus and MP3 cases of SoundFileWriter::Open, through
// libsndfile's virtual I/O over the descriptor. libsndfile drops write
// errors from its final flush inside sf_close, so the I/O records every
// failed write itself and Finish reports any of them, and checks the file's
// length against the bytes written. Null, with `error` set, when the format
// cannot take the rate (EINVAL) or the encoder cannot start.
std::unique_ptr<SoundFileWriter> OpenSndfileWriter(int descriptor, SoundFileFormat format, std::uint32_t rate,
                                                   std::int64_t totalSamples, int& error);
