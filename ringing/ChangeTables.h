#pragma once

#include "ringing/MethodStyle.h"
#include "ringing/Row.h"

#include <string_view>

// A change table: constant rows of position indices. Entry q of a row is the
// 0-based position whose bell moves into position q (new[q] = old[entry q]).
// Every row is a set of adjacent swaps, so each row is its own inverse.
// The most rows a table holds: the sixteen-bell treble bob table, a
// half-lead of 2 x 16 changes, its lead-end change and a second lead end.
inline constexpr int kMaxTableRows = 34;

struct ChangeTable {
    int stage = 0;
    int rowCount = 0;
    Row rows[kMaxTableRows] = {};
};

// The table rung for a style on a stage, or nullptr when there is none
// (StyleHome, or a stage that has no table for the style).
//
// Stage 5 carries the five-bell forms that ringers know: Grandsire Doubles,
// Stedman Doubles, and Plain Bob Doubles under StyleTrebleBob (there is no
// five-bell treble-dodging method). StylePrinciple below sixteen bells is
// answered with the Stedman table, as PlanRender turns it into Stedman.
//
// Tables are constant data, built at compile time; safe from any thread.
const ChangeTable* FindChangeTable(MethodStyle style, int stage);

// Place-notation symbols: 1..9 are places 1..9, then 0 E T A B C D for 10..16.
// Returns the 1-based place, or 0 for a symbol that is not a place.
constexpr int PlaceOfSymbol(char symbol)
{
    const auto at = kBellSymbols.find(symbol);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}
