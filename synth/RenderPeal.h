#pragma once

#include "synth/RenderParams.h"

#include <cstdint>

// Renders one job into job->output: strikes each bell of each row (from the
// change tables of job->style, or from job->rows) at its time with a random
// error (a time drawn at or before the current sample
// fires at the next one), mixes, scales the pre-roll's peak to 24000
// (saturating at 16 bits; a silent pre-roll gives silence), fades the end,
// and sets `finished` last. Returns 0.
//
// Runs on the worker thread and allocates nothing. Expects the job builder's
// invariants (preRollSamples < totalSamples, 0 <= fadeSamples < totalSamples,
// stage 5..16, or 3..16 with job->rows; strikeInterval >= 0; bells
// 0..stage-1 loaded at the output's rate). Looks at cancelRequested at least
// once per strike interval and at most every 2048 samples; once it is raised
// the rendering stops. An output rendered to its last sample is always faded,
// even when a cancel came during its last span, so samplesDone ==
// totalSamples means a complete, faded output. samplesDone advances after
// every span of samples mixed.
std::uint32_t RenderPeal(RenderParams* job);
