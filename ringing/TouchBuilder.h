#pragma once

#include "ringing/BuiltInMethods.h"
#include "ringing/Touch.h"

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
};

// A touch ready to ring, or why it cannot be.
struct TouchBuild {
    Touch touch;
    std::string fault;  // empty when built
};

// Reads the method and its calls and checks the calling: every letter is
// p, b or s; the calls it uses exist; each has no more changes than lie
// between two call positions, or before the first. A fault names what is
// wrong (a notation's fault is prefixed with the notation). Does not prove
// the touch (see ProveTouch).
TouchBuild BuildTouch(const TouchRequest& request);
