#include "cli/RenderOutput.h"

#include "sound/FileReplacement.h"
#include "sound/SoundFileWriter.h"
#include "synth/TimingFile.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace {

// The file a path names once links, "." and ".." are resolved, as far as it exists.
std::filesystem::path Resolved(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::weakly_canonical(std::filesystem::absolute(path, ignored), ignored);
}

}  // namespace

const char* const kRenderOutputHelp =
    "  -o, --output FILE      the sound file to write (replaced only when fully written), in\n"
    "                         the format its extension names, in any case: .wav (16-bit PCM),\n"
    "                         .flac (16-bit, lossless), .ogg (Vorbis), .opus or .mp3, mono\n"
    "                         at the bells' rate (Opus and MP3 resampled when they cannot take it)\n"
    "  --timing FILE.csv      also write every blow, in the order rung:\n"
    "                         row,place,bell,stroke,ideal_sample,strike_sample\n"
    "                         (row from 0, place and bell from 1, stroke hand or back, samples\n"
    "                         at the sound file's rate)\n";

void AddTimingOption(Args& args)
{
    args.AddValueOption("--timing");
}

std::optional<std::string> ChooseRenderOutput(const Args& args, const std::string& soundPath, RenderOutput& output)
{
    const auto format = SoundFileFormatFor(soundPath);
    if (!format)
        return "cannot tell the format of '" + soundPath + "': name it " + kSoundFileExtensions;
    output.soundPath = soundPath;
    output.format = *format;
    if (const auto timing = args.Value("--timing")) {
        if (timing->empty())
            return "--timing needs a file name";
        output.timingPath = *timing;
    }
    if (!output.timingPath.empty() && Resolved(output.timingPath) == Resolved(soundPath))
        return "--timing and -o name the same file";
    return std::nullopt;
}

std::optional<std::string> CheckOutputRate(const RenderOutput& output, std::uint32_t rate)
{
    if (WrittenSampleRate(output.format, rate) != 0)
        return std::nullopt;
    return "FLAC holds sample rates up to 655350 Hz; the bells are at " + std::to_string(rate) + " Hz";
}

RenderWrite RenderAndWrite(PealRender& render, const RenderOutput& output, bool stream,
                           const std::function<void()>& run)
{
    const std::uint32_t rate = render.Plan().rate;
    if (!output.timingPath.empty() && !render.LogBlows())
        return RenderWrite::NoMemory;
    FileReplacement soundFile(output.soundPath);
    CSoundBuffer sound;
    std::unique_ptr<SoundFileWriter> writer;
    if (stream) {
        if (!soundFile.Create())
            return RenderWrite::Failed;
        writer = SoundFileWriter::Open(soundFile.Descriptor(), output.format, rate, render.TotalSamples());
        if (!writer)
            return RenderWrite::Failed;
        if (!render.StreamTo(*writer))
            return RenderWrite::NoMemory;
    } else if (!render.RenderInto(sound)) {
        return RenderWrite::NoMemory;
    }
    run();
    if (!render.Complete() || !render.Blows().Complete())
        return RenderWrite::Failed;
    const bool soundWritten =
        stream ? writer->Finish() : soundFile.Create() && WriteSoundFile(sound, output.format, soundFile.Descriptor());
    if (!soundWritten)
        return RenderWrite::Failed;
    if (output.timingPath.empty())
        return soundFile.Commit() ? RenderWrite::Written : RenderWrite::Failed;
    FileReplacement timingFile(output.timingPath);
    if (!timingFile.Create() ||
        !WriteTimingFile(render.Blows(), rate, WrittenSampleRate(output.format, rate), timingFile.Descriptor()))
        return RenderWrite::Failed;
    return soundFile.Commit() && timingFile.Commit() ? RenderWrite::Written : RenderWrite::Failed;
}
