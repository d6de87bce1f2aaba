#pragma once

#include <cstdint>

// One blow: a bell striking at a place of a row. Times in output samples.
struct Blow {
    std::int32_t row = 0;     // from 0, the first row of rounds; even rows are handstrokes
    std::int16_t place = 0;   // from 0
    std::int16_t bell = 0;    // from 0
    std::int64_t ideal = 0;   // when it would strike without error
    std::int64_t strike = 0;  // when it sounds
};

inline bool IsHandstroke(std::int32_t row)
{
    return row % 2 == 0;
}

// Times the blows of one render. The renderer asks for every blow once, in
// ringing order (row by row, place by place), on the worker thread, and rings
// them in the order of their times. A model serves one render; the owner
// builds it before the worker starts and keeps it until the worker has
// returned. Implementations must not allocate in these calls.
class StrikingModel {
public:
    virtual ~StrikingModel() = default;

    // The time at which `blow` (row, place, bell and ideal set) strikes. May
    // lie before 0: the renderer strikes such a blow at sample 0.
    virtual std::int64_t StrikeTime(const Blow& blow) = 0;

    // No blow strikes more than this many samples before its ideal time (>= 0).
    virtual std::int64_t MostEarly() const = 0;

    // A time before which no blow still to be asked for strikes, given that
    // the next one's ideal time is at least `ideal`. The renderer asks for
    // blows ahead until this passes the earliest blow it holds.
    virtual std::int64_t EarliestFrom(std::int64_t ideal) const { return ideal - MostEarly(); }
};
