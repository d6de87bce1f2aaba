#pragma once

#include "synth/PealRender.h"
#include "synth/RenderRequest.h"

#include <cstddef>
#include <cstdint>
#include <string>

// What the command line adds after the application's own refusal texts: the
// numbers behind the refusal and the option that changes them. The window
// shows the texts alone.

// The bells a render was given, for the refusals that count them.
struct BellsGiven {
    std::size_t files = 0;     // bell files on the command line
    bool bellsOption = false;  // --bells was given
};

// `plan.refusal` for `request`, followed for the length and the bells by
// what to change: "Recording length too short or too long! (--length 9:
// give 10 to 700 seconds, or --length touch)"; "load more files! (8 bells
// ring and 7 bell files are given; ...)", saying when an odd stage rings with
// a cover bell. Other refusals as they are.
std::string RefusalWithDetails(const RenderPlan& plan, const RenderRequest& request, const BellsGiven& given);

// "all files must have same sample rate (PATH is at RATE Hz, the bells
// before it at COMMON Hz)".
std::string SampleRateRefusal(const std::string& path, std::uint32_t rate, std::uint32_t common);
