#pragma once

#include "ringing/MethodStyle.h"
#include "ringing/Touch.h"
#include "synth/StrikeRandom.h"
#include "synth/StrikingSetup.h"

#include <cstdint>
#include <optional>

// What to ring and how: everything a render needs but the bells and their
// sample rate. A plain value; the only thing it points at is the optional
// running generator.
struct RenderRequest {
    // The rows: a method's touch when one is set, else the change tables of
    // `style` (StylePrinciple rings as StyleStedman below sixteen bells).
    MethodStyle style = StyleHome;
    std::optional<Touch> touch;
    // Bells ringing: for a style one of 5, 6, 8, 10, 12, 14 and 16; for a
    // touch its stage to 16 (kFewestTouchBells at least), those beyond the
    // stage covering.
    std::int16_t bells = 10;
    // The time a peal of 5000 changes takes, in seconds, on any number of bells.
    double pealSeconds = 10800;
    // How long: whole seconds (10..700, as the application allows), or with
    // wholeTouch the whole touch: rounds, the touch until it comes round,
    // four rows of rounds and the fade.
    std::int32_t lengthSeconds = 10;
    bool wholeTouch = false;
    // How the bells strike: the model and its settings, with any odd bells;
    // strikingError is the uniform model's, in percent (0..100).
    StrikingSettings striking;
    std::int16_t strikingError = 5;
    std::uint32_t seed = kDefaultStrikeSeed;
    // When set, the model draws from this generator, which its owner keeps
    // running from one render to the next (the application does for its
    // life), instead of a fresh one seeded with `seed`.
    StrikeRandom* random = nullptr;
};

// The fewest bells a touch rings.
inline constexpr std::int16_t kFewestTouchBells = 3;

// The main dialog's lists. Bells by index 0..6 (" 5" .. "16"); any other
// index, such as -1 for no selection, rings five.
std::int16_t BellsForListIndex(std::int32_t index);
// Peal seconds by index 0..5 ("2h 45" .. "4h 00"); any other index is "3h 00".
double PealSecondsForListIndex(std::int32_t index);
// The handstroke gap in strike intervals: 1.0 up to six bells, 0.8 for ten,
// 0.9 otherwise.
double GapFactorForBells(int ringingBells);
