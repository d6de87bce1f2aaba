#pragma once

#include "sound/SampleSink.h"
#include "sound/SoundBuffer.h"
#include "sound/SoundFileFormat.h"

#include <cstdint>
#include <memory>
#include <string>

// Writes one sound file, block by block, through a file descriptor that
// someone else owns (a FileReplacement's temporary file, empty, at its start):
// WAV with its 48-byte header (written first, from the total), FLAC as
// 16-bit samples, Vorbis, Opus and MP3 at their encoders' default quality;
// mono at WrittenSampleRate(format, rate), resampled by Resampler as the
// samples come when that differs from `rate`. Every write is checked,
// including those an encoder makes while it closes.
//
// Thread: one thread at a time (a render's worker may write while the
// owner waits).
class SoundFileWriter : public SampleSink {
public:
    // A writer for `totalSamples` samples at `rate`; null when the format
    // cannot take the rate or the length (a WAV file holds at most
    // 2147483628 samples), or the encoder cannot start.
    static std::unique_ptr<SoundFileWriter> Open(int descriptor, SoundFileFormat format, std::uint32_t rate,
                                                 std::int64_t totalSamples);

    // Ends the file: the resampler's last samples, the encoder's flush and
    // close. True exactly when every write succeeded and `totalSamples`
    // samples were given. Call once; Write is not called after it.
    virtual bool Finish() = 0;
};

// Writes `sound` (mono 16-bit) through `descriptor` in `format`. The length
// is kept: a resampled file holds Resampler::OutputLength samples. False when
// the format cannot take the rate or any write fails; the file may then be
// incomplete, so callers write to a temporary file (SaveSoundFile does).
// Changes nothing in `sound`.
bool WriteSoundFile(const CSoundBuffer& sound, SoundFileFormat format, int descriptor);

// Writes `sound` to `path` in `format` through a FileReplacement: never a
// half-written file there, a link's target replaced, the replaced file's mode
// kept; on success fileName = path and state = 1, on failure nothing changes.
bool SaveSoundFile(CSoundBuffer& sound, SoundFileFormat format, const std::string& path);

// SaveSoundFile as WAV, the application's "Write File".
bool SaveWavTo(CSoundBuffer& sound, const std::string& path);
