#pragma once

#include "ringing/CallingPositions.h"
#include "ringing/Touch.h"

#include <cstdint>
#include <string>

// A calling by positions turned into the call at each lead end.
struct ResolvedCalling {
    std::string letters;      // 'p', 'b' or 's' per lead end, up to the last call made
    std::int64_t made = 0;    // calls made
    std::int64_t wanted = 0;  // calls the calling asks for, all parts (at most INT64_MAX)
    std::string shortfall;    // when made < wanted: why, for a warning; names the method
};

// Rings `touch` (its method, bob and single, called at its lead ends) from
// rounds. At each lead end the calling's next call is made when, with it,
// the observation bell (touch.observation) lands in the call's position
// (PositionPlace); otherwise the lead is plain. The words are taken in order
// (each `courses` times), `parts` times over. Stops when every call is made;
// short of that when the rows come round, when plain leads come back to the
// row they started from (the call can never be made), or after
// `changeLimit` changes. Every call the calling uses must exist in `touch`.
// Ringing `touch` with `letters` and repeatCalling false gives the rows.
ResolvedCalling ResolveCalling(const Touch& touch, const CallingPositions& calling, std::int64_t parts,
                               std::int64_t changeLimit);
