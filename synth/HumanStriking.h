#pragma once

#include "synth/StrikingModel.h"

#include <cstdint>

class StrikeRandom;

// Striking as people strike: every blow, the first included, strikes at its
// ideal time + round(rms * z) samples, z an independent standard normal draw
// of `random` (StrikeRandom::NextNormal). A draw beyond six standard
// deviations (about two in a thousand million) is drawn again, so no blow is
// off by more than 6 * rms.
class HumanStriking : public StrikingModel {
public:
    // rmsSamples >= 0: the standard deviation of the error in samples;
    // `random` outlives the model.
    HumanStriking(double rmsSamples, StrikeRandom& random);

    std::int64_t StrikeTime(const Blow& blow) override;
    std::int64_t MostEarly() const override { return mostEarly; }

private:
    double rms;
    std::int64_t mostEarly;
    StrikeRandom& random;
};
