#pragma once

#include "ringing/Row.h"
#include "synth/StrikingModel.h"

#include <array>
#include <cstdint>

// Fixed offsets layered on another model, for odd-struck bells: a bell's
// blows at handstroke, backstroke or both strike `offset` samples after the
// time the base model gives them (before it when negative).
class OddBellStriking : public StrikingModel {
public:
    // `base` outlives this model and is asked for every blow, in order.
    explicit OddBellStriking(StrikingModel& base);

    // Sets bell `bell`'s (0..15) offset at the strokes given, replacing any
    // it had there. Called by the owner before the render.
    void SetOffset(int bell, bool handstroke, bool backstroke, std::int64_t offset);

    std::int64_t StrikeTime(const Blow& blow) override;
    std::int64_t MostEarly() const override;
    std::int64_t EarliestFrom(std::int64_t ideal) const override;

private:
    StrikingModel& base;
    std::array<std::array<std::int64_t, 2>, kMaxBells> offsets{};  // by bell: at handstroke, at backstroke
    std::int64_t earliest = 0;                                     // the most negative offset, or 0
};
