#pragma once

#include "synth/RenderParams.h"
#include "synth/StrikingModel.h"

#include <vector>

// The renderer's algorithm one output sample at a time, written for
// clarity rather than speed: the reference that RenderPeal must match bit
// for bit. Same contract as RenderPeal.
void PlainRenderPeal(RenderParams* job);

// Mixes job->bells at the given blows (in the order rung; only place, bell
// and strike are read), one output sample at a time, as the renderer does:
// a blow takes the slot of its place and silences any earlier sound of its
// bell; then the pre-roll scaling, saturation and fade. Ignores the job's
// timing fields, rows and striking model.
void PlainMixBlows(RenderParams* job, const std::vector<Blow>& blows);

// PlainMixBlows of `stage` sixteen `bells` into a sound of `total` samples
// with the given pre-roll and fade.
std::vector<std::int16_t> PlainMixBlows(const CSoundBuffer* bells, std::int16_t stage, std::int32_t total,
                                        std::int32_t preRoll, std::int32_t fade, const std::vector<Blow>& blows);
