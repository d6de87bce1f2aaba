#include "cli/Args.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "sound/BellImport.h"
#include "sound/SoundFileWriter.h"

#include <cstdio>
#include <string>

namespace {

constexpr const char* kCommand = "import";

constexpr const char* kUsage = "usage: carillix-cli import BELL -o OUT.wav\n";

constexpr const char* kHelp =
    "Loads one bell sample (WAV, FLAC or Ogg by its extension, MP3 for any other)\n"
    "as the application does: converted to mono 16-bit, with the onset of its strike\n"
    "found. Writes it to OUT.wav as a mono 16-bit PCM WAV and prints\n"
    "'rate=R samples=N onset=K'.\n"
    "\n"
    "  -o, --output FILE   the WAV file to write (replaced only when fully written)\n";

}  // namespace

int RunImport(int argc, char** argv, int first)
{
    Args args(argc, argv, first);
    AddOutputOption(args);
    if (const auto status = ParseCommandLine(args, kCommand, kUsage, kHelp))
        return *status;
    if (args.Positional().size() != 1)
        return UsageError(kCommand, args.Positional().empty() ? "no bell file given" : "more than one bell file given",
                          kUsage);
    const auto output = OutputPath(args);
    if (!output)
        return UsageError(kCommand, "no output file given (-o OUT.wav)", kUsage);

    const std::string& input = args.Positional().front();
    CSoundBuffer bell;
    const LoadResult result = LoadBellFile(bell, input);
    if (result != LoadOK) {
        PrintLoadFailure(input, result);
        return 1;
    }
    if (int error = 0; !SaveWavTo(bell, *output, &error)) {
        PrintWriteFailure({*output, error});
        return 1;
    }
    std::printf("rate=%u samples=%d onset=%d\n", static_cast<unsigned>(bell.format.sampleRate),
                static_cast<int>(bell.sampleCount), static_cast<int>(bell.onset));
    return 0;
}
