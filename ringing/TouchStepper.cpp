#include "ringing/TouchStepper.h"

TouchStepper::TouchStepper(const Touch& touch) : touch(touch), leadSize(static_cast<int>(touch.method.lead.size())) {}

const Change& TouchStepper::NextChange() const
{
    for (const int end : touch.callEnds) {
        if (end <= leadPosition)
            continue;
        const char letter = CallLetter(touch, callsPassed);
        if (letter == 'p')
            break;
        const std::vector<Change>& call = letter == 'b' ? touch.bob.changes : touch.single.changes;
        const int start = end - static_cast<int>(call.size());
        if (leadPosition >= start)
            return call[static_cast<std::size_t>(leadPosition - start)];
        break;
    }
    return touch.method.lead[static_cast<std::size_t>(leadPosition)];
}

bool TouchStepper::Step(Row& row)
{
    if (cameRound)
        return true;
    ApplyChange(NextChange(), row);
    ++changes;
    ++leadPosition;
    for (const int end : touch.callEnds)
        if (end == leadPosition)
            ++callsPassed;
    if (leadPosition == leadSize)
        leadPosition = 0;
    cameRound = IsHomeRow(row, touch.method.stage);
    return cameRound;
}

bool TouchStepper::Next(std::int32_t rowIndex, Row& row)
{
    return rowIndex >= kOpeningRows && !cameRound && Step(row);
}
