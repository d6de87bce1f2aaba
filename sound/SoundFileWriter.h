#pragma once

#include "sound/SampleSink.h"
#include "sound/SoundBuffer.h"
#include "sound/SoundFileFormat.h"

#include <cstdint>
#include <memory>
#include <string>

// Writes one sound file, block by block, through a file descriptor that
// someone else owns (a FileReplacement's temporary file, empty, at its start,
// or a FIFO or device): WAV with its 48-byte header (written first, from the
// total), FLAC as 16-bit samples, Vorbis, Opus and MP3 at their encoders'
// default quality; mono at WrittenSampleRate(format, rate), resampled by
// Resampler as the samples come when that differs from `rate`. Every write
// is checked, including those an encoder makes while it closes, and so is
// the length of the file written.
//
// Thread: one thread at a time (a render's worker may write while the
// owner waits).
class SoundFileWriter : public SampleSink {
public:
    // A writer for `totalSamples` samples at `rate`; null when the format
    // cannot take the rate or the length (a WAV file holds at most
    // 2147483627 samples), which `error` gets as EINVAL, or the encoder
    // cannot start, `error` then being why.
    static std::unique_ptr<SoundFileWriter> Open(int descriptor, SoundFileFormat format, std::uint32_t rate,
                                                 std::int64_t totalSamples, int& error);

    // Ends the file: the resampler's last samples, the encoder's flush and
    // close. True exactly when every write succeeded, `totalSamples`
    // samples were given and a regular file is as long as written. Call
    // once; Write is not called after it.
    virtual bool Finish() = 0;
    // The system's error number (errno) of the first failure: of a write, or
    // of the seek that stopped the encoder; EIO when the encoder stopped
    // without one, too few samples were given or the file's length is not
    // what was written. 0 while all is well.
    virtual int Error() const = 0;
};

// True when writing `format` goes back to the file's start once the samples
// are written (MP3, for its tag), so that a FIFO cannot take it.
bool NeedsSeekableFile(SoundFileFormat format);

// Writes `sound` (mono 16-bit) through `descriptor` in `format`. The length
// is kept: a resampled file holds Resampler::OutputLength samples. Returns 0,
// or the error number of the failure (EINVAL when the format cannot take the
// rate); the file may then be incomplete, so callers write to a temporary
// file (SaveSoundFile does). Changes nothing in `sound`.
int WriteSoundFile(const CSoundBuffer& sound, SoundFileFormat format, int descriptor);

// Writes `sound` to `path` in `format` through a FileReplacement, with its
// checks: never a half-written file there, a link's target replaced, the
// replaced file's owner, group and mode kept, a FIFO or device written
// straight into; on success fileName = path and state = 1, on failure
// nothing changes and `error`, when given, gets the error number of why.
bool SaveSoundFile(CSoundBuffer& sound, SoundFileFormat format, const std::string& path, int* error = nullptr);

// SaveSoundFile as WAV, the application's "Write File".
bool SaveWavTo(CSoundBuffer& sound, const std::string& path, int* error = nullptr);
