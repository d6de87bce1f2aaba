#pragma once

#include "synth/StrikingModel.h"

#include <cstddef>
#include <vector>

// The blows of one render in the order rung: by the sample each sounded at,
// blows at the same sample in ringing order. The owner makes room before the
// worker starts and reads the log once the worker has returned; the worker
// only fills the room made, so it never allocates.
class BlowLog {
public:
    // Makes room for `most` blows and empties the log. False when the memory
    // cannot be had.
    bool Reserve(std::size_t most);

    // Worker: adds `blow`; when the log is full, marks it incomplete instead.
    void Add(const Blow& blow)
    {
        if (count < blows.size())
            blows[count++] = blow;
        else
            complete = false;
    }

    const Blow* begin() const { return blows.data(); }
    const Blow* end() const { return blows.data() + count; }
    std::size_t size() const { return count; }
    bool Complete() const { return complete; }

private:
    std::vector<Blow> blows;
    std::size_t count = 0;
    bool complete = true;
};
