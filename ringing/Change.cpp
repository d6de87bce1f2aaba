#include "ringing/Change.h"

Change ChangeMakingPlaces(std::uint32_t places, int stage)
{
    Change change = HomeRow();
    for (int q = 0; q < stage; ++q) {
        if ((places >> q & 1u) != 0 || q + 1 >= stage)
            continue;
        change[q] = static_cast<std::int16_t>(q + 1);
        change[q + 1] = static_cast<std::int16_t>(q);
        ++q;
    }
    return change;
}
