#include "synth/OddBellStriking.h"

#include <algorithm>

OddBellStriking::OddBellStriking(StrikingModel& base) : base(base) {}

void OddBellStriking::SetOffset(int bell, bool handstroke, bool backstroke, std::int64_t offset)
{
    if (handstroke)
        offsets[bell][0] = offset;
    if (backstroke)
        offsets[bell][1] = offset;
    earliest = 0;
    for (const auto& strokes : offsets)
        earliest = std::min({earliest, strokes[0], strokes[1]});
}

std::int64_t OddBellStriking::StrikeTime(const Blow& blow)
{
    return base.StrikeTime(blow) + offsets[blow.bell][IsHandstroke(blow.row) ? 0 : 1];
}

std::int64_t OddBellStriking::MostEarly() const
{
    return base.MostEarly() - earliest;
}

std::int64_t OddBellStriking::EarliestFrom(std::int64_t ideal) const
{
    return base.EarliestFrom(ideal) + earliest;
}
