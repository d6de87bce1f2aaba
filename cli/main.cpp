#include "base/MessageQuote.h"
#include "cli/Commands.h"
#include "sound/TemporaryFiles.h"

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "usage: carillix-cli <rows|render|prove|methods|import|demo-bells> [options]  (--help for more)\n";

constexpr const char* kHelp =
    "carillix-cli: change ringing from recorded bells, without a window.\n"
    "\n"
    "Commands:\n"
    "  rows        print the rows of a touch as the renderer rings them\n"
    "  render      ring bell samples (or the built-in bells) into a sound file\n"
    "  prove       prove a touch: its length, its truth, its calls and lead heads\n"
    "  methods     list the methods, built-in and from a library, that rows,\n"
    "              render and prove ring by title\n"
    "  import      load one bell sample as the application does and write it as WAV\n"
    "  demo-bells  write the sixteen built-in bells as WAV files\n"
    "\n"
    "Run 'carillix-cli COMMAND --help' for the options of one command.\n";

}  // namespace

int main(int argc, char** argv)
{
    // A write past a file-size limit fails with EFBIG and is reported, like
    // any other failed write, instead of killing the process mid-file.
    std::signal(SIGXFSZ, SIG_IGN);
    RemoveTemporaryFilesOnSignals();
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const char* command = argv[1];
    if (std::strcmp(command, "--help") == 0 || std::strcmp(command, "-h") == 0) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (std::strcmp(command, "rows") == 0)
        return RunRows(argc, argv, 2);
    if (std::strcmp(command, "import") == 0)
        return RunImport(argc, argv, 2);
    if (std::strcmp(command, "render") == 0)
        return RunRender(argc, argv, 2);
    if (std::strcmp(command, "demo-bells") == 0)
        return RunDemoBells(argc, argv, 2);
    if (std::strcmp(command, "methods") == 0)
        return RunMethods(argc, argv, 2);
    if (std::strcmp(command, "prove") == 0)
        return RunProve(argc, argv, 2);

    std::fprintf(stderr, "carillix-cli: unknown command '%s'\n", MessageQuote(command).c_str());
    std::fputs(kUsage, stderr);
    return 2;
}
