#pragma once

#include "ringing/Change.h"

#include <string>
#include <string_view>
#include <vector>

// A method: the changes of one lead on `stage` bells, rung from rounds lead
// after lead. A plain value; copies are independent.
struct Method {
    std::string title;
    int stage = 0;             // kMinStage..kMaxStage
    std::string notation;      // the place notation the lead was read from
    std::vector<Change> lead;  // one lead in ringing order; never empty in a read method
};

// A method read from place notation, or the notation's fault.
struct MethodRead {
    Method method;
    std::string fault;  // empty when read
};

// Reads `notation` on `stage` bells (see ReadPlaceNotation) into a method
// with the given title. A lead may not hold a change that makes every place
// (it moves no bell): the first one written is refused, named with the
// character where it starts. Calls are read without this rule.
MethodRead ReadMethod(std::string title, std::string_view notation, int stage);
