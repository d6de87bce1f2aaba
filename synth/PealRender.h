#pragma once

#include "sound/SampleSink.h"
#include "sound/SoundBuffer.h"
#include "synth/BlowLog.h"
#include "synth/RenderParams.h"
#include "synth/RenderPeal.h"
#include "synth/RenderRequest.h"
#include "synth/StrikingSetup.h"

#include <cstdint>
#include <memory>
#include <string>
#include <thread>

// Refusal texts, in the order they are checked.
inline constexpr const char* kLengthRefusal = "Recording length too short or too long!";
inline constexpr const char* kBellCountRefusal = "a touch rings 3 to 16 bells";
inline constexpr const char* kStyleBellCountRefusal = "a style rings 5, 6, 8, 10, 12, 14 or 16 bells";
inline constexpr const char* kBellsRefusal = "load more files!";
inline constexpr const char* kZeroRateRefusal = "the bells' sample rate is 0: load other files!";
inline constexpr const char* kTooManySamplesRefusal = "sample rate too high for this length: choose a shorter length!";

// The outcome of the checks of one render and, when it may go ahead, its
// numbers. Counts and times in samples at `rate`.
struct RenderPlan {
    bool ok = false;
    std::string refusal;  // the message to show when !ok
    // Set once the bells have been chosen (every refusal after the length
    // check): the application stores `stage` and `style` even when refused.
    bool stageChosen = false;
    std::int16_t stage = 0;         // bells ringing
    MethodStyle style = StyleHome;  // the style rung, after the Principle rule
    std::uint32_t rate = 0;
    std::int32_t totalSamples = 0;
    std::int32_t preRollSamples = 0;
    std::int32_t fadeSamples = 0;
    std::int32_t strikeInterval = 0;
    std::int32_t handstrokeGap = 0;
    std::int64_t touchChanges = -1;  // with the whole touch: its changes; else -1
};

// The checks of "Generate Output" for `request` over `bells` (sixteen records)
// at their common `rate`, and the numbers of its render. In order: a length
// in seconds outside 10..700; then the bells are chosen (the Principle rule
// applies): a number the rows cannot ring, a ringing bell not loaded, a rate
// of 0, a length in seconds of more than 2^31 - 1 samples; with the whole
// touch, a touch that does not come round within kMaxTouchChanges changes,
// or whose sound would pass what a WAV file holds (kMostWavSamples, 2^31 - 21
// samples), refused with its length.
//
// The numbers: strike interval = rate * pealSeconds / 2500 / (2 * bells +
// gap factor), truncated (left to right in double precision); handstroke
// gap = interval * gap factor, truncated. A length in seconds gives
// lengthSeconds * rate samples, with a fade of 5 s halved below 15 s. The
// whole touch is rows 0..3 of rounds, its C changes as rows 4..3+C (the last
// of them rounds), rows 4+C..7+C of rounds, and the sound runs to the
// nominal start of row 8+C plus a fade of 5 s, never halved, so that the
// fade falls on rounds. The pre-roll is 9 s, or the whole sound but its last
// sample when that is shorter.
//
// Pure: reads the bells' `state`, steps a touch through to count it, changes
// nothing.
RenderPlan PlanRender(const RenderRequest& request, const CSoundBuffer* bells, std::uint32_t rate);

// The function a render runs: RenderPeal, or a stand-in (tests, benchmarks).
using RenderFunction = std::uint32_t (*)(RenderParams*);

// One render, from its request and plan to the finished sound: the rows, the
// striking model, the pre-roll buffer, the blow log, the job record, the
// worker thread, progress and cancel. It fills RenderParams; the sound goes
// into a CSoundBuffer or an array, or block by block to a sink. The pre-roll
// is held as 8 bytes a sample up to 2^22 samples; a longer one (bells far
// above any recording's rate) is mixed again from the blows that sounded
// in it, when those take less room.
//
// Calling order: construct; choose where the sound goes (RenderInto or
// StreamTo, once); LogBlows if wanted; Start (a worker thread) or Run (this
// thread); Wait; read the outcome. Destroying it cancels and joins a worker
// still running. The bells, the output and the sink must outlive the render.
//
// Thread: the owner's, except the progress readers (SamplesDone,
// ChangesRung, Finished), which any thread may call while the worker runs.
class PealRender {
public:
    // `plan` must be ok; `bells` are sixteen records loaded at plan.rate.
    PealRender(const RenderRequest& request, const RenderPlan& plan, const CSoundBuffer* bells,
               RenderFunction render = RenderPeal);
    ~PealRender();
    PealRender(const PealRender&) = delete;
    PealRender& operator=(const PealRender&) = delete;

    // The sound goes into `output`, made a mono 16-bit sound of
    // totalSamples samples at the plan's rate (its samples replaced), or
    // into `samples`, an array of totalSamples, or to `sink`. False, with
    // nothing changed, when the memory cannot be had. The model in
    // Params().striking is final from here.
    bool RenderInto(CSoundBuffer& output);
    bool RenderInto(std::int16_t* samples);
    bool StreamTo(SampleSink& sink);
    // Logs every blow rung. False when the memory for the log cannot be had.
    bool LogBlows();

    // Starts the render on a worker thread (on this one when no thread can
    // be had), or runs it here; each at most once.
    void Start();
    void Run();
    // Asks the worker to stop at its next look at the flag.
    void Cancel();
    // Returns once the worker has returned.
    void Wait();

    std::int32_t TotalSamples() const { return params.totalSamples; }
    std::int32_t SamplesDone() const { return params.samplesDone.load(std::memory_order_relaxed); }
    // Changes of the touch rung so far, of TotalChanges(); -1 for both when
    // the length is not the whole touch.
    std::int64_t ChangesRung() const;
    std::int64_t TotalChanges() const { return plan.touchChanges; }
    bool Finished() const { return params.finished.load(std::memory_order_acquire); }
    // Finished with every sample rendered (and the sink took them all).
    bool Complete() const { return Finished() && SamplesDone() == TotalSamples(); }

    const RenderPlan& Plan() const { return plan; }
    const BlowLog& Blows() const { return blows; }
    // The job record, for the reference renderer and for tests that wire in
    // rows, models or logs of their own; change it only before Start or Run.
    RenderParams& Params() { return params; }

private:
    bool AllocatePreRoll();

    RenderRequest request;  // the touch the rows step through lives here
    RenderPlan plan;
    RenderFunction render;
    StrikingSetup striking;
    std::unique_ptr<RowSource> rows;
    std::unique_ptr<double[]> preRoll;
    BlowLog preRollBlows;  // in place of `preRoll` at rates far above any recording's
    BlowLog blows;
    RenderParams params;
    std::thread worker;
};
