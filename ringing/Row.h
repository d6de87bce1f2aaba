#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The most bells Carillix rings, and the number of bell slots.
inline constexpr int kMaxBells = 16;
// The ringers' symbol of bell (or place) k + 1 is kBellSymbols[k].
inline constexpr std::string_view kBellSymbols = "1234567890ETABCD";

// Rows 0..3 of everything rung are rounds (the styles' rows and a touch's):
// the first change makes row kOpeningRows. Plans of a render count on it.
inline constexpr std::int32_t kOpeningRows = 4;

// One row of ringing: entry q is the 0-based bell striking in position q.
// Only entries 0..stage-1 are meaningful; the stepper never touches the rest.
using Row = std::array<std::int16_t, kMaxBells>;

// The home row 0, 1, 2, ..., 15.
constexpr Row HomeRow()
{
    Row row{};
    for (int q = 0; q < kMaxBells; ++q)
        row[q] = static_cast<std::int16_t>(q);
    return row;
}

// True when entries 0..stage-1 hold 0..stage-1 in order.
constexpr bool IsHomeRow(const Row& row, int stage)
{
    for (int q = 0; q < stage; ++q)
        if (row[q] != q)
            return false;
    return true;
}
