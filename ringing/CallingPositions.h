#pragma once

#include "ringing/Change.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Compositions as ringers write them: calls named by where they leave the
// observation bell, e.g. "W H H" or "sM W 3H".

// The position letters: H home, W wrong, M middle, I in, B before, O out,
// T thirds, F fourths, V fifths, X sixths, S sevenths, E eighths, N ninths.
inline constexpr std::string_view kPositionLetters = "HWMIBOTFVXSEN";

// The most successive courses one word may call, and the most parts.
inline constexpr std::int64_t kMostCourses = 1'000'000;
inline constexpr std::int64_t kMostParts = 1'000'000;

// One word of a calling: a call made at a position in `courses` successive courses.
struct PositionCall {
    char call = 'b';           // 'b' (bob) or 's' (single)
    char position = 'H';       // one of kPositionLetters
    std::int64_t courses = 1;  // 1..kMostCourses
    std::size_t word = 0;      // where it is written: 1 for the first word
};

// A calling read from its text, or why it was refused.
struct CallingPositions {
    std::vector<PositionCall> calls;  // empty for an empty calling: the plain course
    std::string fault;
};

// Reads words separated by blanks, each [k][-|s]P and read with its case: an
// optional count k (1..kMostCourses), '-' for a bob (the default) or 's' for
// a single, and a position letter. A fault quotes the word, cut short.
CallingPositions ReadCallingPositions(std::string_view text);

// The place (1-based) the observation bell is in, at the lead head after a
// call, for `position` on `stage` bells: H = n; W = n-1 on even stages and
// n-2 on odd; M = n-2 on even and n-1 on odd; I = 2; B = 2 when the call
// makes 2nds, else 3; O and T = 3; F = 4; V = 5; X = 6; S = 7; E = 8;
// N = 9. 0 for a letter that is no position.
int PositionPlace(char position, int stage, bool callMakesSeconds);

// How a calling names a call ('b' or 's') that leaves the observation bell in
// `place`: the first letter of kPositionLetters for that place, after 's' for
// a single ("W", "sH"); "(10)" or "s(10)" for a place no letter names.
std::string CallName(char call, int place, int stage, bool callMakesSeconds);

// The place (1-based) of `bell` (0-based) among the first `stage` of `row`; 0 if not there.
int PlaceOfBell(const Row& row, int bell, int stage);

// True when any of the changes makes 2nds place.
bool MakesSeconds(const std::vector<Change>& changes);
