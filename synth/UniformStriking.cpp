#include "synth/UniformStriking.h"

#include "synth/StrikeRandom.h"

#include <algorithm>
#include <cmath>

UniformStriking::UniformStriking(std::int32_t strikeInterval, std::int16_t strikingError, StrikeRandom& random)
    : errorScale(static_cast<double>(strikeInterval) * strikingError / 50.0 / 32767.0),
      mostEarly(static_cast<std::int64_t>(std::ceil(16383 * std::abs(errorScale)))),
      random(random)
{
}

std::int64_t UniformStriking::StrikeTime(const Blow& blow)
{
    std::int64_t time = blow.ideal;
    if (asked >= 2) {
        const std::int32_t r = random.Next();
        time = std::max(blow.ideal + static_cast<std::int64_t>((r - 16383) * errorScale), earliestNext);
    }
    earliestNext = asked == 0 ? time : time + 1;
    ++asked;
    return time;
}

std::int64_t UniformStriking::EarliestFrom(std::int64_t ideal) const
{
    return std::max(earliestNext, ideal - mostEarly);
}
