#include "cli/RenderOutput.h"

#include "sound/SoundFileWriter.h"
#include "synth/TimingFile.h"

#include <cerrno>
#include <filesystem>
#include <memory>
#include <system_error>
#include <unistd.h>

namespace {

// The file a path names once links, "." and ".." are resolved, as far as it exists.
std::filesystem::path Resolved(const std::string& path)
{
    std::error_code ignored;
    return std::filesystem::weakly_canonical(std::filesystem::absolute(path, ignored), ignored);
}

}  // namespace

const char* const kRenderOutputHelp =
    "  -o, --output FILE      the sound file to write (replaced only when fully written;\n"
    "                         a FIFO or device is written straight into), in\n"
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
        return "cannot tell the format of '" + QuotedPath(soundPath) + "': name it " + kSoundFileExtensions;
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

RenderFiles::RenderFiles(const RenderOutput& output) : output(output), sound(output.soundPath)
{
    if (!output.timingPath.empty())
        timing = std::make_unique<FileReplacement>(output.timingPath);
}

bool RenderFiles::Open()
{
    if (!sound.Create())
        return Fail(sound, sound.Error());
    if (sound.InPlace() && NeedsSeekableFile(output.format) && lseek(sound.Descriptor(), 0, SEEK_CUR) < 0)
        return Fail(sound, errno);
    return !timing || timing->Create() || Fail(*timing, timing->Error());
}

bool RenderFiles::Fail(const FileReplacement& file, int error)
{
    fault = {&file == &sound ? output.soundPath : output.timingPath, error != 0 ? error : EIO};
    return false;
}

RenderWrite RenderAndWrite(PealRender& render, RenderFiles& files, bool stream, const std::function<void()>& run)
{
    const RenderOutput& output = files.Output();
    FileReplacement& soundFile = files.Sound();
    FileReplacement* timingFile = files.Timing();
    const std::uint32_t rate = render.Plan().rate;
    if (timingFile != nullptr && !render.LogBlows())
        return RenderWrite::NoMemory;
    CSoundBuffer sound;
    std::unique_ptr<SoundFileWriter> writer;
    int error = 0;
    if (stream) {
        writer = SoundFileWriter::Open(soundFile.Descriptor(), output.format, rate, render.TotalSamples(), error);
        if (!writer) {
            files.Fail(soundFile, error);
            return RenderWrite::Failed;
        }
        if (!render.StreamTo(*writer))
            return RenderWrite::NoMemory;
    } else if (!render.RenderInto(sound)) {
        return RenderWrite::NoMemory;
    }
    run();
    if (!render.Complete() || !render.Blows().Complete()) {
        files.Fail(soundFile, writer ? writer->Error() : 0);
        return RenderWrite::Failed;
    }
    if (stream)
        writer->Finish();
    error = stream ? writer->Error() : WriteSoundFile(sound, output.format, soundFile.Descriptor());
    if (error != 0) {
        files.Fail(soundFile, error);
        return RenderWrite::Failed;
    }
    if (timingFile != nullptr) {
        error = WriteTimingFile(render.Blows(), rate, WrittenSampleRate(output.format, rate), timingFile->Descriptor());
        if (error != 0) {
            files.Fail(*timingFile, error);
            return RenderWrite::Failed;
        }
    }
    const bool committed =
        timingFile != nullptr ? CommitReplacements({&soundFile, timingFile}) : CommitReplacements({&soundFile});
    if (!committed) {
        const bool soundFailed = soundFile.Error() != 0 || timingFile == nullptr;
        files.Fail(soundFailed ? soundFile : *timingFile, soundFailed ? soundFile.Error() : timingFile->Error());
        return RenderWrite::Failed;
    }
    return RenderWrite::Written;
}
