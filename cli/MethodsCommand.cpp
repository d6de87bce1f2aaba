#include "base/ParseInteger.h"
#include "cli/Args.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/LibraryOption.h"
#include "ringing/MethodCatalogue.h"
#include "ringing/PlaceNotation.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr const char* kCommand = "methods";

constexpr const char* kUsage = "usage: carillix-cli methods [--search TEXT] [--stage N] [--library FILE]\n";

constexpr const char* kHelp =
    "Lists the methods that 'rows', 'render' and 'prove' ring by title (--method):\n"
    "the built-in list, then those of the method library. One a line: title, stage\n"
    "(number of bells), place notation of one lead, and the calls: a bob and a\n"
    "single in place notation, called at every lead end or, for Stedman, at every\n"
    "six end. 'none' means the method has no calls of its own; give them with --bob\n"
    "and --single. The last line counts what was listed and where it came from.\n"
    "\n"
    "  --search TEXT          only titles containing TEXT, in any case\n"
    "  --stage N              only methods on N bells, 3..16\n";

std::string CallsText(const MethodEntry& method)
{
    if (method.bob.empty())
        return "none";
    return std::string(method.calls == CallPosition::SixEnd ? "six ends" : "lead ends") + ": bob " +
           std::string(method.bob) + ", single " + std::string(method.single);
}

void PrintMethods(const std::vector<const MethodEntry*>& methods)
{
    std::size_t titleWidth = 5;
    std::size_t notationWidth = 8;
    for (const MethodEntry* method : methods) {
        titleWidth = std::max(titleWidth, method->title.size());
        notationWidth = std::max(notationWidth, method->notation.size());
    }
    const int titles = static_cast<int>(titleWidth);
    const int notations = static_cast<int>(notationWidth);
    std::printf("%-*s  %5s  %-*s  %s\n", titles, "TITLE", "STAGE", notations, "NOTATION", "CALLS");
    for (const MethodEntry* method : methods) {
        const std::string title(method->title);
        const std::string notation(method->notation);
        std::printf("%-*s  %5d  %-*s  %s\n", titles, title.c_str(), method->stage, notations, notation.c_str(),
                    CallsText(*method).c_str());
    }
}

}  // namespace

int RunMethods(int argc, char** argv, int first)
{
    Args args(argc, argv, first);
    args.AddValueOption("--search");
    args.AddValueOption("--stage");
    AddLibraryOption(args);
    const std::string help = std::string(kHelp) + kLibraryOptionHelp;
    if (const auto status = ParseCommandLine(args, kCommand, kUsage, help.c_str()))
        return *status;
    if (const auto status = RefuseArguments(args, kCommand, kUsage))
        return *status;
    int stage = 0;
    if (const auto text = args.Value("--stage")) {
        const auto parsed = ParseInteger(*text, kMinStage, kMaxStage);
        if (!parsed)
            return UsageError(kCommand, "--stage must be a whole number from 3 to 16", kUsage);
        stage = static_cast<int>(*parsed);
    }

    MethodCatalogue catalogue;
    LibraryUse library;
    if (const auto status = LoadLibrary(args, true, catalogue, library))
        return *status;
    const std::vector<const MethodEntry*> listed = catalogue.Search(args.Value("--search").value_or(""), stage);
    PrintMethods(listed);
    std::printf("listed %zu of %zu methods: %zu built-in", listed.size(), catalogue.Methods().size(),
                catalogue.BuiltInCount());
    if (library.read)
        std::printf(" and %zu from %s (%lld above 16 bells skipped)\n", library.added, QuotedPath(library.path).c_str(),
                    static_cast<long long>(library.aboveMaxStage));
    else
        std::printf("; no method library at %s\n",
                    library.path.empty() ? "~/.local/share/carillix/methods.xml" : QuotedPath(library.path).c_str());
    return 0;
}
