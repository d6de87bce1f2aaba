#include "synth/StrikingSetup.h"

#include <cmath>

StrikingSetup::StrikingSetup(const StrikingSettings& settings, std::int32_t strikeInterval, std::int16_t strikingError,
                             std::uint32_t rate, std::uint32_t seed, StrikeRandom* shared)
    : own(seed)
{
    StrikeRandom& random = shared != nullptr ? *shared : own;
    const double samplesPerMillisecond = rate / 1000.0;
    if (settings.model == StrikingModelKind::Human)
        model = &human.emplace(settings.rmsMilliseconds * samplesPerMillisecond, random);
    else
        model = &uniform.emplace(strikeInterval, strikingError, random);
    if (settings.oddBells.empty())
        return;
    model = &odd.emplace(*model);
    for (const OddBell& bell : settings.oddBells)
        odd->SetOffset(bell.bell, bell.handstroke, bell.backstroke,
                       std::llround(bell.milliseconds * samplesPerMillisecond));
}
