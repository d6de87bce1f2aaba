#pragma once

#include "cli/Args.h"
#include "sound/SoundFileFormat.h"
#include "synth/PealRender.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The files `render` writes: the sound, in the format its extension names,
// and the timing file when --timing asks for one.
struct RenderOutput {
    std::string soundPath;
    SoundFileFormat format = SoundFileFormat::Wav;
    std::string timingPath;  // empty: none
};

// The lines of `render --help` on -o and --timing.
extern const char* const kRenderOutputHelp;

// Declares --timing.
void AddTimingOption(Args& args);

// Fills `output` for the sound file at `soundPath` and any --timing.
// Returns why not, for a usage error: an extension naming no format, or the
// timing file the same as the sound file.
std::optional<std::string> ChooseRenderOutput(const Args& args, const std::string& soundPath, RenderOutput& output);

// Why the sound cannot be written at `rate`, or nullopt.
std::optional<std::string> CheckOutputRate(const RenderOutput& output, std::uint32_t rate);

// How RenderAndWrite ended.
enum class RenderWrite { Written, NoMemory, Failed };

// Renders `render` (set up, not started) by calling `run`, which returns once
// it has finished, and writes the sound, and the timing file when one is
// asked for, each to a temporary file beside its target; the targets are
// replaced only once both are complete. With `stream` the sound goes to its
// file block by block as it is rendered, else it is rendered into memory
// first. On anything but Written the targets are as they were (unless the
// timing file's rename fails after the sound's).
RenderWrite RenderAndWrite(PealRender& render, const RenderOutput& output, bool stream,
                           const std::function<void()>& run);
