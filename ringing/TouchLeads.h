#pragma once

#include "ringing/Row.h"
#include "ringing/Touch.h"

#include <cstdint>
#include <string>
#include <vector>

// One lead of a touch as a proof shows it.
struct LeadRecord {
    Row head{};                // the row that ends the lead; the last row when the touch ends within it
    std::int64_t changes = 0;  // changes rung up to that row
    std::string calls;         // calls made in it as a calling names them ("W", "sH"), blank-separated
};

// The leads of a touch and the calls made.
struct TouchLeads {
    std::vector<LeadRecord> leads;
    std::string calls;  // every call made, in order, blank-separated; empty for none
};

// Rings the first `changes` changes of `touch` (its proof's length) and
// records each lead. A call is named by the place of touch.observation in
// the row it ends on (CallName); a call that rounds cut short is named too,
// by the row it would have ended on.
TouchLeads RecordLeads(const Touch& touch, std::int64_t changes);

// The course ends among the leads: those whose head has the observation bell
// home (in the last place of the stage), each with the calls made since the
// course end before it; then the touch's last row when it is not one, so that
// every call made is shown.
std::vector<LeadRecord> CourseEnds(const Touch& touch, const TouchLeads& leads);
