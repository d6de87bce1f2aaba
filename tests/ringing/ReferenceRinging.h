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

}  // namespace reference
