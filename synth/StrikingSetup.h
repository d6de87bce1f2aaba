#pragma once

#include "synth/HumanStriking.h"
#include "synth/OddBellStriking.h"
#include "synth/StrikeRandom.h"
#include "synth/UniformStriking.h"

#include <cstdint>
#include <optional>
#include <vector>

enum class StrikingModelKind { Uniform, Human };

// A bell struck off its time by a fixed amount, for listening practice.
struct OddBell {
    int bell = 0;             // from 0
    double milliseconds = 0;  // late; negative: early
    bool handstroke = true;   // at which strokes
    bool backstroke = true;
};

// How a render strikes, in the units people give.
struct StrikingSettings {
    StrikingModelKind model = StrikingModelKind::Uniform;
    double rmsMilliseconds = 25;  // the human model's standard deviation
    std::vector<OddBell> oddBells;
};

// The striking model of one render and the generator it draws from, built on
// the owner's thread from the settings: the uniform model of the job's
// strikingError, or the human model, under the odd bells' offsets when there
// are any. The model draws from `shared` when it is set (a generator its
// owner keeps running from one render to the next, outliving the setup),
// else from a generator of its own seeded with `seed`. The job's `striking`
// points at Model() until the worker has returned; the setup must outlive
// that. Milliseconds become samples at `rate`, rounded to the nearest. Not
// copyable or movable (Model() points into it).
class StrikingSetup {
public:
    StrikingSetup(const StrikingSettings& settings, std::int32_t strikeInterval, std::int16_t strikingError,
                  std::uint32_t rate, std::uint32_t seed, StrikeRandom* shared = nullptr);
    StrikingSetup(const StrikingSetup&) = delete;
    StrikingSetup& operator=(const StrikingSetup&) = delete;

    StrikingModel& Model() { return *model; }

private:
    StrikeRandom own;
    std::optional<UniformStriking> uniform;
    std::optional<HumanStriking> human;
    std::optional<OddBellStriking> odd;
    StrikingModel* model = nullptr;
};
