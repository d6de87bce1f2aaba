#include "sound/DecodeToPcm16.h"

LoadResult DecodeToPcm16(CSoundBuffer&, std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t>().swap(data);
    return LoadConversionImpossible;
}
