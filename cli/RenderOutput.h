#pragma once

#include "cli/Args.h"
#include "cli/CommandSupport.h"
#include "sound/FileReplacement.h"
#include "sound/SoundFileFormat.h"
#include "synth/PealRender.h"

#include <cstdint>
#include <functional>
#include <memory>
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

// The files of one render, checked and opened before the bells are loaded,
// so that a path that cannot be written is refused before any work is done.
class RenderFiles {
public:
    explicit RenderFiles(const RenderOutput& output);

    // Checks and opens the sound's file and then the timing file's
    // (FileReplacement::Create; a FIFO or device cannot take a format that
    // seeks, such as MP3). False, with Fault() set, when either is refused;
    // nothing is left behind.
    bool Open();

    const RenderOutput& Output() const { return output; }
    FileReplacement& Sound() { return sound; }
    FileReplacement* Timing() { return timing.get(); }

    // Why a file could not be written, with the path as the user gave it.
    const WriteFault& Fault() const { return fault; }
    // Records `error` as the fault of `file` (one of the two); returns false.
    bool Fail(const FileReplacement& file, int error);

private:
    RenderOutput output;
    FileReplacement sound;
    std::unique_ptr<FileReplacement> timing;
    WriteFault fault;
};

// How RenderAndWrite ended.
enum class RenderWrite { Written, NoMemory, Failed };

// Renders `render` (set up, not started) by calling `run`, which returns once
// it has finished, and writes the sound, and the timing file when one is
// asked for, through `files` (opened): with `stream` the sound goes to its
// file block by block as it is rendered, else it is rendered into memory
// first; the timing file is written once the sound has been. Both targets
// are then replaced, or neither (CommitReplacements). On anything but
// Written the targets are as they were, and on Failed files.Fault() says why.
RenderWrite RenderAndWrite(PealRender& render, RenderFiles& files, bool stream, const std::function<void()>& run);
