#pragma once

#include "ringing/MethodStyle.h"

#include <atomic>
#include <cstdint>

class BlowLog;
class CSoundBuffer;
class RowSource;
class StrikeRandom;
class StrikingModel;

// One render job, shared by its owner (the generation dialog, the CLI) and
// the worker running RenderPeal. The owner fills every plain field before the
// worker starts and keeps the record, the pre-roll buffer, the output array
// and the bells alive until the worker has returned (`finished` is 1 or the
// thread has been joined).
//
// Shared while the worker runs: cancelRequested (owner writes, worker reads),
// samplesDone and finished (worker writes, owner reads); `style` is the
// worker's own once it has started.
struct RenderParams {
    std::int32_t totalSamples = 0;    // output samples to render
    std::int32_t preRollSamples = 0;  // samples over which the peak is measured; < totalSamples
    std::int32_t fadeSamples = 0;     // samples of the linear fade-out; 0 = none
    std::int32_t strikeInterval = 0;  // samples between two nominal strikes; > 0
    std::int32_t handstrokeGap = 0;   // extra samples before every second row
    std::int16_t stage = 0;           // bells ringing: 5, 6, 8, 10, 12, 14 or 16 (3..16 with `rows`)
    MethodStyle style = StyleHome;    // set to StyleHome by the worker when the method comes home; unused with `rows`
    double* preRollBuffer = nullptr;  // preRollSamples doubles, owned by the job's owner
    std::int16_t* output = nullptr;   // totalSamples samples, the output sound's array
    std::atomic<std::int32_t> samplesDone{0};
    std::atomic<bool> cancelRequested{false};
    std::atomic<bool> finished{false};  // the worker's last write
    std::int16_t strikingError = 0;     // percent, 0..100; the uniform model's

    const CSoundBuffer* bells = nullptr;  // sixteen bells, indexed by bell 0..15; read only
    // Without a `striking` model, the uniform model's draws come from
    // `random` when it is set (a generator the owner keeps running from one
    // render to the next; the worker advances it), else from a fresh
    // generator seeded with `seed`. A `striking` model draws from its own.
    std::uint32_t seed = 1;
    StrikeRandom* random = nullptr;
    // When set, the rows rung after row 0 come from here instead of the
    // change tables of `style`. Owned by the job's owner; the worker calls it.
    RowSource* rows = nullptr;
    // The model that times every blow, for this render only. Owned by the
    // job's owner, used by the worker. When unset, the uniform model of
    // `strikingError` (a UniformStriking drawing as described above) does.
    StrikingModel* striking = nullptr;
    // When set, every blow rung is added here, in the order rung. Owned by
    // the job's owner, with room made for MostBlowsRung(*this, MostEarly of
    // the model) before the worker starts; read once it has returned.
    BlowLog* blows = nullptr;
};
