#pragma once

#include "ringing/Row.h"
#include "ringing/Touch.h"

#include <cstdint>
#include <string>

// The most changes a touch may take to come round.
inline constexpr std::int64_t kMaxTouchChanges = 1'000'000;

// What ringing a touch from rounds shows.
struct TouchProof {
    bool comesRound = false;   // within the limit; otherwise `refusal` says so
    std::int64_t changes = 0;  // changes up to and including the one that brings rounds, else those rung
    std::string refusal;
    // For a touch that can never come round: the changes after which its rows
    // repeat (they never reach rounds); 0 when it comes round or the limit came first.
    std::int64_t cycleChanges = 0;

    // Rows met again before rounds returns, counting each extra time; 0 for a true touch.
    std::int64_t repeats = 0;
    Row firstRepeat{};                // the row whose second time comes first
    std::int64_t firstRepeatAt = 0;   // changes rung when it came first (0: the opening rounds)
    std::int64_t secondRepeatAt = 0;  // and when it came again
    std::string falseness;            // a description for the ringer; empty for a true touch
};

// The proof in one line: "N changes, true" or "N changes, false (R rows
// repeat)"; for a touch that does not come round, its refusal.
std::string ProofLine(const TouchProof& proof);

// Rings `touch` from rounds with a TouchStepper until it comes round, giving
// up after `changeLimit` changes or as soon as its rows are seen to repeat
// without rounds, and looks for rows that come more than once. Allocates up to 16 bytes per change; for use before a render starts.
TouchProof ProveTouch(const Touch& touch, std::int64_t changeLimit = kMaxTouchChanges);
