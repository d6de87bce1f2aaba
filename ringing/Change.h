#pragma once

#include "ringing/Row.h"

#include <cstdint>

// One change: entry q is the 0-based position whose bell moves into position
// q (new[q] = old[entry q]). Positions at and beyond the change's stage map
// to themselves, so bells behind the stage stay where they are.
using Change = Row;

// The change on `stage` bells that makes the places in `places` (bit p - 1
// set for place p) and swaps every other position with its neighbour,
// scanning from the front. The places must leave only even runs of bells
// between them, in front and behind.
Change ChangeMakingPlaces(std::uint32_t places, int stage);

// Applies `change` to every entry of `row`. Allocation-free.
inline void ApplyChange(const Change& change, Row& row)
{
    Row next;
    for (int q = 0; q < kMaxBells; ++q)
        next[q] = row[change[q]];
    row = next;
}
