#pragma once

#include "synth/RenderParams.h"

// The renderer's algorithm one output sample at a time, written for
// clarity rather than speed: the reference that RenderPeal must match bit
// for bit. Same contract as RenderPeal.
void PlainRenderPeal(RenderParams* job);
