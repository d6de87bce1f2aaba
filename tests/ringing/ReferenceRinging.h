#pragma once

#include <string>
#include <vector>

// A deliberately simple ringer, written apart from the engine, to check it
// against: rows are strings of bell symbols, changes are place-notation
// tokens ("x" or the places written) applied by scanning for swaps.
namespace reference {

// The tokens of one lead: crosses split out, ',' segments reflected.
std::vector<std::string> LeadTokens(const std::string& notation);

// The row after ringing `token` on the first `stage` bells of `row`.
std::string Ring(const std::string& token, std::string row, int stage);

// Every row of a touch from rounds on `bells` bells (covering bells beyond
// `stage`), the final rounds included. Calls end at `callEnds` changes into
// each lead and take letters from `calling` in turn. Empty if it has not
// come round after `limit` changes.
std::vector<std::string> TouchRows(const std::string& notation, int stage, int bells, const std::vector<int>& callEnds,
                                   const std::string& bob, const std::string& single, const std::string& calling,
                                   int limit = 100000);

// Every row of a touch called by positions, from rounds to rounds, on
// `stage` bells: `calling` is words like "sM", "W", "3H" (count, '-' or 's',
// position letter), taken in order `parts` times over; `observation` is the
// bell's symbol. At each lead end the next call is made when the lead head it
// gives has the observation bell in its position, after the last call the
// leads are plain. Empty if it has not come round after `limit` changes.
std::vector<std::string> PositionTouchRows(const std::string& notation, int stage, const std::string& bob,
                                           const std::string& single, const std::string& calling, int parts,
                                           char observation, int limit = 100000);

}  // namespace reference
