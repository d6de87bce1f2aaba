#pragma once

#include "synth/RenderParams.h"

#include <cstdint>

// Renders one job into job->output: strikes each bell of each row at its
// time with a random error (a time drawn at or before the current sample
// fires at the next one), mixes, scales the pre-roll's peak to 24000
// (saturating at 16 bits; a silent pre-roll gives silence), fades the end,
// and sets `finished` last. Returns 0.
//
// Runs on the worker thread and allocates nothing. Expects the job builder's
// invariants (preRollSamples < totalSamples, 0 <= fadeSamples < totalSamples,
// stage 5..16, strikeInterval >= 0, bells 0..stage-1 loaded at the output's
// rate). Looks at cancelRequested at least once per strike interval and at
// most every 2048 samples; once it is raised the render stops and the fade is
// skipped. samplesDone advances after every span of samples mixed.
std::uint32_t RenderPeal(RenderParams* job);
