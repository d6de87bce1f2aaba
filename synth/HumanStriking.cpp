#include "synth/HumanStriking.h"

#include "synth/StrikeRandom.h"

#include <cmath>

namespace {

constexpr double kMostDeviations = 6.0;

}  // namespace

HumanStriking::HumanStriking(double rmsSamples, StrikeRandom& random)
    : rms(rmsSamples),
      mostEarly(static_cast<std::int64_t>(std::ceil(kMostDeviations * rmsSamples))),
      random(random)
{
}

std::int64_t HumanStriking::StrikeTime(const Blow& blow)
{
    double z = random.NextNormal();
    while (std::abs(z) > kMostDeviations)
        z = random.NextNormal();
    return blow.ideal + std::llround(rms * z);
}
