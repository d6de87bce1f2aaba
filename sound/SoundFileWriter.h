#pragma once

#include "sound/SoundBuffer.h"
#include "sound/SoundFileFormat.h"

#include <string>

// Writes `sound` (mono 16-bit) to the file at `path`, created or truncated,
// in `format`, mono at WrittenSampleRate(format, its rate) (resampled by
// Resampler when that differs): WAV as WriteWav writes it, FLAC as 16-bit
// samples, Vorbis, Opus and MP3 at their encoders' default quality. The
// length is kept: a resampled file holds Resampler::OutputLength samples.
// Every write is checked. False when the format cannot take the rate or any
// write fails; the file may then be incomplete, so callers write to a
// temporary file (SaveSoundFile does). Changes nothing in `sound`.
bool WriteSoundFile(const CSoundBuffer& sound, SoundFileFormat format, const std::string& path);

// Writes `sound` to `path` in `format` through a FileReplacement: never a
// half-written file there, a link's target replaced, the replaced file's mode
// kept; on success fileName = path and state = 1, on failure nothing changes.
bool SaveSoundFile(CSoundBuffer& sound, SoundFileFormat format, const std::string& path);
