#pragma once

#include "ringing/BuiltInMethods.h"
#include "ringing/Touch.h"

#include <cstdint>
#include <optional>
#include <string>

// What a touch is made from: a built-in method, or a method given by its
// place notation (called at its lead ends); calls that give or replace the
// method's own; and a calling.
struct TouchRequest {
    const MethodEntry* method = nullptr;  // when null, placeNotation and stage give the method
    std::string placeNotation;
    int stage = 0;
    std::optional<std::string> bob;  // place notation on the method's stage
    std::optional<std::string> single;
    std::string calling;  // letters p, b, s
    // A calling by positions ("W H H", see ReadCallingPositions) instead of
    // `calling`, rung `parts` (1..kMostParts) times over, for methods called
    // at their lead ends.
    std::optional<std::string> positions;
    std::int64_t parts = 1;
    int observation = 0;  // the observation bell, 1..stage; 0 for the stage's heaviest
};

// A touch ready to ring, or why it cannot be.
struct TouchBuild {
    Touch touch;
    std::string fault;    // empty when built
    std::string warning;  // a calling by positions whose calls are not all made (still rung)
};

// True for methods whose calls fall at six ends (Stedman, Erin): a calling
// by positions is refused for them.
bool CalledAtSixEnds(const MethodEntry& method);

// Reads the method and its calls and checks the calling: every letter is
// p, b or s; the calls it uses exist; each has no more changes than lie
// between two call positions, or before the first. A calling by positions
// is read and turned into the letters of each lead end (ResolveCalling,
// within kMaxTouchChanges), rung without repeating. A fault names what is
// wrong (a notation's fault is prefixed with the notation). Does not prove
// the touch (see ProveTouch).
TouchBuild BuildTouch(const TouchRequest& request);
