#pragma once

#include "ringing/Change.h"
#include "ringing/Method.h"

#include <cstddef>
#include <string>
#include <vector>

// A call: changes rung in place of as many of the method's changes, the last
// of them at a call position.
struct Call {
    std::string notation;         // empty when there is no such call
    std::vector<Change> changes;  // empty when there is no such call
};

// A touch: a method rung from rounds with calls. Call positions fall after
// each of `callEnds` changes into a lead; the calling gives one letter per
// call position in turn ('p' plain, 'b' bob, 's' single), started again
// from its first letter when it runs out (or, when `repeatCalling` is false,
// followed by plain leads) until the rows come round. An empty calling rings
// the plain course. A plain value.
//
// A built touch (see BuildTouch) holds: callEnds ascending within
// 1..lead size; every call the calling uses exists and has no more changes
// than lie between its call position and the one before it (or the start).
struct Touch {
    Method method;
    std::vector<int> callEnds;
    Call bob;
    Call single;
    std::string calling;
    bool repeatCalling = true;
    int observation = 0;  // the bell whose places name the calls (1..stage)
};

// The letter the calling gives call position `index` (0 for the touch's
// first): 'p', 'b' or 's'. Allocation-free.
inline char CallLetter(const Touch& touch, std::size_t index)
{
    if (touch.calling.empty() || (!touch.repeatCalling && index >= touch.calling.size()))
        return 'p';
    return touch.calling[index % touch.calling.size()];
}
