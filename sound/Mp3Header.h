#pragma once

#include "sound/BinaryFile.h"
#include "sound/LoadResult.h"
#include "sound/SoundBuffer.h"

// Finds the first MPEG audio frame header within reach of the file's start
// and describes the whole file by it: sound.format becomes an MPEG Layer-3
// format record, dataBytes the file's length, and the file stands at its
// start again. Returns LoadOK or LoadBadMp3.
LoadResult ReadMp3Header(CSoundBuffer& sound, BinaryFile& file);
