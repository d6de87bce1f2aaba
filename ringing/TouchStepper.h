#pragma once

#include "ringing/RowSource.h"
#include "ringing/Touch.h"

#include <cstddef>
#include <cstdint>

// Rings a touch row by row: four rows of rounds, then the touch's changes
// until the row is rounds again (at any change), then rounds for ever.
// Bells beyond the method's stage stay in their places (they cover).
//
// Holds a reference to `touch`, which must outlive the stepper and stay
// unchanged. Next and Step never allocate; one stepper serves one thread.
class TouchStepper : public RowSource {
public:
    explicit TouchStepper(const Touch& touch);

    // The renderer's view: rows 1..3 are rounds, row 4 onwards come from
    // Step until the touch has come round (true for that row), and rounds
    // after that.
    bool Next(std::int32_t rowIndex, Row& row) override;

    // Applies the touch's next change to `row`; true when the row is now
    // rounds on the method's stage. Leaves the row alone once it has come round.
    bool Step(Row& row);

    bool CameRound() const { return cameRound; }
    // Changes rung so far.
    std::int64_t Changes() const { return changes; }

private:
    const Change& NextChange() const;

    const Touch& touch;
    int leadSize;
    int leadPosition = 0;         // changes rung of the current lead
    std::size_t callsPassed = 0;  // call positions passed since the start
    std::int64_t changes = 0;
    bool cameRound = false;
};
