#pragma once

#include "sound/BinaryFile.h"
#include "sound/LoadResult.h"
#include "sound/SoundBuffer.h"

// Describes a FLAC or Ogg file by its stream, as libsndfile reads it, from
// the file's start: sound.format becomes kFormatFlac or kFormatOgg with the
// stream's channels and rate (no other field set), dataBytes the file's
// length, factSamples empty, and the file stands at its start again, for the
// whole file to be decoded. LoadConversionError, the record unchanged, when
// the file is not FLAC or Ogg, cannot be opened as such, or is longer than
// dataBytes can count.
LoadResult ReadFlacOggHeader(CSoundBuffer& sound, BinaryFile& file);
