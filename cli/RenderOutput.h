#pragma once

#include "cli/Args.h"
#include "sound/SoundBuffer.h"
#include "sound/SoundFileFormat.h"
#include "synth/BlowLog.h"

#include <cstdint>
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

// Writes the sound, and the timing file from `blows` when one is asked for,
// each to a temporary file beside its target, and replaces the targets only
// once both are complete. False when any step fails; the targets are then
// as they were (unless the timing file's rename fails after the sound's).
bool SaveRenderOutput(const CSoundBuffer& sound, const BlowLog& blows, const RenderOutput& output);
