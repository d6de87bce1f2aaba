#pragma once

#include "synth/StrikingModel.h"

#include <cstdint>

class StrikeRandom;

// The application's striking error. The first two blows strike at their
// ideal times (0 and one strike interval). Every later blow takes one draw r
// (0..32767) and strikes at its ideal time + trunc((r - 16383) *
// strikeInterval * strikingError / 50 / 32767), within about strikingError %
// of a strike interval; a time at or before the previous blow's moves to the
// sample after it, so from the second blow on blows keep their order and
// never coincide.
class UniformStriking : public StrikingModel {
public:
    // strikingError in percent, 0..100; `random` outlives the model.
    UniformStriking(std::int32_t strikeInterval, std::int16_t strikingError, StrikeRandom& random);

    std::int64_t StrikeTime(const Blow& blow) override;
    std::int64_t MostEarly() const override { return mostEarly; }
    std::int64_t EarliestFrom(std::int64_t ideal) const override;

private:
    double errorScale;
    std::int64_t mostEarly;
    StrikeRandom& random;
    std::int64_t asked = 0;
    std::int64_t earliestNext = 0;  // the earliest time the next blow may take
};
