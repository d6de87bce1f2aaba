#include "cli/Args.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "sound/SoundFileWriter.h"
#include "synth/DemoBells.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

constexpr const char* kCommand = "demo-bells";

constexpr const char* kUsage = "usage: carillix-cli demo-bells DIR\n";

constexpr const char* kHelp =
    "Writes the sixteen built-in bells to DIR (created if missing) as bell01.wav ...\n"
    "bell16.wav: mono 16-bit PCM at 44100 samples per second, about two seconds each,\n"
    "a descending major scale with bell 1 the highest. Existing files of those names\n"
    "are replaced only once the new file is fully written.\n";

}  // namespace

int RunDemoBells(int argc, char** argv, int first)
{
    Args args(argc, argv, first);
    if (const auto status = ParseCommandLine(args, kCommand, kUsage, kHelp))
        return *status;
    if (args.Positional().size() != 1)
        return UsageError(kCommand, args.Positional().empty() ? "no folder given" : "more than one folder given",
                          kUsage);
    const std::filesystem::path folder = args.Positional().front();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "%s: %s\n", QuotedPath(folder.string()).c_str(), error.message().c_str());
        return 1;
    }
    for (int index = 0; index < kMaxBells; ++index) {
        char name[16];
        std::snprintf(name, sizeof name, "bell%02d.wav", index + 1);
        const std::string path = (folder / name).string();
        CSoundBuffer bell;
        if (!MakeDemoBell(index, bell)) {
            std::fputs("not enough memory for the demo bells\n", stderr);
            return 1;
        }
        if (int failure = 0; !SaveWavTo(bell, path, &failure)) {
            PrintWriteFailure({path, failure});
            return 1;
        }
    }
    return 0;
}
