#include "cli/LibraryOption.h"

#include "cli/CommandSupport.h"

#include <cstdio>
#include <sys/stat.h>

namespace {

constexpr std::size_t kMostWarnings = 10;

}  // namespace

const char* const kLibraryOptionHelp =
    "  --library FILE         a method library (the collections' XML file) to take\n"
    "                         titles from as well as the built-in list (default:\n"
    "                         $XDG_DATA_HOME/carillix/methods.xml, else\n"
    "                         ~/.local/share/carillix/methods.xml, when present)\n";

void AddLibraryOption(Args& args)
{
    args.AddValueOption("--library");
}

std::optional<int> LoadLibrary(const Args& args, bool orDefault, MethodCatalogue& catalogue, LibraryUse& use)
{
    const std::optional<std::string> named = args.Value("--library");
    if (!named && !orDefault)
        return std::nullopt;
    use.path = named ? *named : DefaultMethodLibraryPath();
    struct stat status {};
    if (!named && (use.path.empty() || stat(use.path.c_str(), &status) != 0))
        return std::nullopt;

    MethodLibrary library = ReadMethodLibraryFile(use.path);
    if (!library.fault.empty()) {
        std::fprintf(stderr, "%s\n", library.fault.c_str());
        return 1;
    }
    for (std::size_t k = 0; k < library.skipped.size() && k < kMostWarnings; ++k)
        std::fprintf(stderr, "warning: %s: %s\n", QuotedPath(use.path).c_str(), library.skipped[k].c_str());
    if (library.skipped.size() > kMostWarnings)
        std::fprintf(stderr, "warning: %s: %zu more methods skipped\n", QuotedPath(use.path).c_str(),
                     library.skipped.size() - kMostWarnings);
    use.read = true;
    use.aboveMaxStage = library.aboveMaxStage;
    use.added = catalogue.AddLibrary(std::move(library.methods));
    return std::nullopt;
}
