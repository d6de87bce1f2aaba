#pragma once

#include "sound/WaveFormat.h"

#include <cstdint>

// One block of sound handed to a wave output. The engine owns the record and
// the samples it points to; both must stay put from Queue until the block has
// been reported done.
struct WaveBlock {
    const std::int16_t* data = nullptr;  // first byte of the block's sound
    std::uint32_t bufferLength = 0;      // bytes
    bool prepared = false;               // set by Prepare, cleared by Unprepare
    bool inQueue = false;                // set by Queue, cleared just before the block is reported done
};

// Called once for each queued block the device has finished with, in the
// order the blocks were queued, with the instance value given to Open.
// Always called on the device's completion thread, never on an audio
// callback, so it may call Unprepare, Prepare and Queue of the same device.
using WaveOutDoneFn = void (*)(void* instance);

// A wave output device: query a format, open it with a completion function,
// then prepare, queue and unprepare blocks; Drain lets them be heard to the
// end, Reset hands back every queued block at once; Close ends it. Every
// operation reports success (true) or failure.
//
// Thread: QueryFormat, Open, Drain, Reset and Close run on one controlling
// thread, never inside the completion function. Prepare, Queue and Unprepare run on
// that thread or inside the completion function. Destroying an open device
// closes it.
class CWaveOut {
public:
    virtual ~CWaveOut() = default;

    // Whether the device could play `format`; opens nothing.
    virtual bool QueryFormat(const WaveFormat& format) = 0;
    // Opens the device for `format`. From then until Close returns, `done`
    // is called with `instance` for every finished block.
    virtual bool Open(const WaveFormat& format, WaveOutDoneFn done, void* instance) = 0;
    // Makes a block ready to be queued.
    virtual bool Prepare(WaveBlock& block) = 0;
    // Appends a prepared block that is not queued yet; queued blocks play in
    // order without a gap.
    virtual bool Queue(WaveBlock& block) = 0;
    // Releases a prepared block the device is not holding; fails for a queued one.
    virtual bool Unprepare(WaveBlock& block) = 0;
    // Lets every queued block play to its end and the device play out what
    // it still holds, then stops. Returns once all of it has been heard and
    // every completion call has returned; the device stays open for Close.
    virtual bool Drain() = 0;
    // Stops at once and reports every queued block done. Returns after those
    // completion calls have returned; the device stays open.
    virtual bool Reset() = 0;
    // Resets, then closes. No completion call runs after Close has returned.
    virtual bool Close() = 0;
};
