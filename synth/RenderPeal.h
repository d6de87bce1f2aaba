#pragma once

#include "synth/RenderParams.h"

#include <cstdint>

// Blows the renderer holds ahead of the one it rings next, at most.
inline constexpr int kMostPendingBlows = 128;

// Renders one job into job->output or job->sink: rings each bell of each row
// (from job->rows, which it stops asking once a row brings the touch round)
// at the time job->striking gives it, mixes, scales the pre-roll's peak to
// 24000 (saturating at 16 bits; a silent pre-roll gives silence), fades the
// end, and sets `finished` last. Returns 0. Into an array and into a sink
// the samples are the same.
//
// Blows sound at their own times, in time order (blows at the same sample in
// ringing order); a time before sample 0 sounds at 0. The renderer asks the
// model for blows ahead until none still unasked can come first, holding at
// most kMostPendingBlows: a model whose errors span more blows than that may
// have a blow sound after its time, at the sample it is reached (job->blows
// records the sample each blow sounded at, so the log always matches the
// sound). Each blow takes the slot of its place, silencing the bell there
// and any earlier sound of its own bell.
//
// Runs on the worker thread and allocates nothing (a sink may). Expects
// PealRender's invariants (preRollSamples < totalSamples, 0 <= fadeSamples <
// totalSamples, stage 3..16, strikeInterval >= 0, bells 0..stage-1 loaded at
// the output's rate, rows and striking set). Looks at cancelRequested at
// least once per strike interval and at most every 2048 samples; once it is
// raised, or the sink refuses samples, the rendering stops. Samples are faded
// as they are rendered, so samplesDone == totalSamples means a complete,
// faded output. samplesDone and rowsStruck advance after every span of
// samples mixed; the pre-roll's samples reach the sink or the array only
// once it is complete.
std::uint32_t RenderPeal(RenderParams* job);

// The most blows RenderPeal can ring in `job` with a model whose MostEarly()
// is `mostEarly`: the room a BlowLog needs.
std::int64_t MostBlowsRung(const RenderParams& job, std::int64_t mostEarly);
// The same for the blows that sound before sample `samples`.
std::int64_t MostBlowsBefore(const RenderParams& job, std::int32_t samples, std::int64_t mostEarly);
