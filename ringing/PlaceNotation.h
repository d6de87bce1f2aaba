#pragma once

#include "ringing/Change.h"

#include <string>
#include <string_view>
#include <vector>

// The fewest and the most bells a method is rung on.
inline constexpr int kMinStage = 3;
inline constexpr int kMaxStage = kMaxBells;

// Place notation read into changes, or the reason it was refused.
struct PlaceNotation {
    std::vector<Change> changes;  // in ringing order; empty when refused
    std::string fault;            // empty when the notation was read
};

// Reads place notation for `stage` bells (kMinStage..kMaxStage).
//
// Places are the symbols 1234567890ETABCD (places 1..16, the letters in
// either case); '-', 'x' or 'X' is
// a cross (every pair swaps; even stages only); '.' separates two changes.
// A change whose lowest place has an odd number of bells in front also makes
// place 1, and one whose highest place has an odd number behind also makes
// the last place. ',' splits the notation into segments, each a palindrome
// written to its middle: c1 ... ck stands for c1 ... ck ... c1. Without ','
// the changes are rung as written.
//
// Refused, with a fault naming the character (counted from 1): an empty
// notation or segment, an unknown symbol, a place beyond the stage, a place
// written twice in one change, a cross on an odd stage, places leaving an
// odd number of bells between them, a '.' that does not stand between two
// changes, and a stage outside kMinStage..kMaxStage.
PlaceNotation ReadPlaceNotation(std::string_view notation, int stage);
