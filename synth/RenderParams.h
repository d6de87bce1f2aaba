#pragma once

#include "ringing/MethodStyle.h"

#include <atomic>
#include <cstdint>

class BlowLog;
class CSoundBuffer;
class RowSource;
class SampleSink;
class StrikingModel;

// One render job, shared by PealRender (which alone fills it, before the
// worker starts) and the worker running RenderPeal. PealRender keeps the
// record, the pre-roll buffer, the output array or sink, the row source, the
// model, the log and the bells alive until the worker has returned.
//
// Shared while the worker runs: cancelRequested (owner writes, worker reads),
// samplesDone, rowsStruck and finished (worker writes, owner reads); `style`
// is the worker's own once it has started.
struct RenderParams {
    std::int32_t totalSamples = 0;    // output samples to render
    std::int32_t preRollSamples = 0;  // samples over which the peak is measured; < totalSamples
    std::int32_t fadeSamples = 0;     // samples of the linear fade-out; 0 = none
    std::int32_t strikeInterval = 0;  // samples between two nominal strikes; >= 0
    std::int32_t handstrokeGap = 0;   // extra samples before every second row
    std::int16_t stage = 0;           // bells ringing, 3..16
    // The style rung (StyleHome for a method's touch); set to StyleHome by
    // the worker when the rows come round.
    MethodStyle style = StyleHome;
    // Where the pre-roll's mix waits until its peak is known: preRollSamples
    // doubles, or, when that is null, the log of the blows that sounded
    // during it (room made for MostBlowsBefore(*this, preRollSamples, MostEarly
    // of the model)), from which the worker mixes it again.
    double* preRollBuffer = nullptr;
    BlowLog* preRollBlows = nullptr;
    // Where the scaled, faded samples go: the output array of totalSamples
    // samples, or, when `sink` is set, the sink, in order, on the worker.
    std::int16_t* output = nullptr;
    SampleSink* sink = nullptr;
    std::atomic<std::int32_t> samplesDone{0};
    std::atomic<std::int32_t> rowsStruck{0};  // 1 + the row of the last blow struck; 0 before the first
    std::atomic<bool> cancelRequested{false};
    std::atomic<bool> finished{false};  // the worker's last write
    std::int16_t strikingError = 0;     // percent, 0..100; the uniform model's

    const CSoundBuffer* bells = nullptr;  // sixteen bells, indexed by bell 0..15; read only
    std::uint32_t seed = 1;               // the seed `striking` draws from (the reference renderer's too)
    // The rows rung after row 0, asked for until one brings the touch round.
    RowSource* rows = nullptr;
    // The model that times every blow, for this render only.
    StrikingModel* striking = nullptr;
    // When set, every blow rung is added here, in the order rung, with room
    // made for MostBlowsRung(*this, MostEarly of the model) before the worker
    // starts; read once it has returned.
    BlowLog* blows = nullptr;
};
