#pragma once

#include "synth/RenderParams.h"

#include <cstdint>

// Renders one job into job->output: strikes each bell of each row at its
// time with a random error, mixes, scales the pre-roll's peak to 24000
// (saturating at 16 bits), fades the end, and sets `finished` last. Returns 0.
// Runs on the worker thread; allocates nothing; stops at the next strike
// after cancelRequested is raised (the fade is then skipped).
std::uint32_t RenderPeal(RenderParams* job);
