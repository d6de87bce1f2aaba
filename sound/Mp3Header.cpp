#include "sound/Mp3Header.h"

LoadResult ReadMp3Header(CSoundBuffer&, BinaryFile&)
{
    return LoadBadMp3;
}
