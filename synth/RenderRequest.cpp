#include "synth/RenderRequest.h"

#include <array>

std::int16_t BellsForListIndex(std::int32_t index)
{
    return index >= 0 && index < static_cast<std::int32_t>(kStyleStages.size())
               ? kStyleStages[static_cast<std::size_t>(index)]
               : kStyleStages[0];
}

double PealSecondsForListIndex(std::int32_t index)
{
    constexpr std::array<double, 6> kSeconds{9900.0, 10800.0, 11700.0, 12600.0, 13500.0, 14400.0};
    return index >= 0 && index < static_cast<std::int32_t>(kSeconds.size()) ? kSeconds[static_cast<std::size_t>(index)]
                                                                            : kSeconds[1];
}

double GapFactorForBells(int ringingBells)
{
    if (ringingBells <= 6)
        return 1.0;
    return ringingBells == 10 ? 0.8 : 0.9;
}
