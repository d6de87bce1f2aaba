#include "cli/Args.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "ringing/BuiltInMethods.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr const char* kCommand = "methods";

constexpr const char* kUsage = "usage: carillix-cli methods\n";

constexpr const char* kHelp =
    "Lists the built-in methods, one a line: title, stage (number of bells), place\n"
    "notation of one lead, and the calls: a bob and a single in place notation,\n"
    "called at every lead end or, for Stedman, at every six end. 'none' means the\n"
    "method has no calls of its own; give them with --bob and --single. Any title\n"
    "can be given to 'rows' and 'render' with --method.\n";

std::string CallsText(const BuiltInMethod& method)
{
    if (method.bob.empty())
        return "none";
    return std::string(method.calls == CallPosition::SixEnd ? "six ends" : "lead ends") + ": bob " +
           std::string(method.bob) + ", single " + std::string(method.single);
}

}  // namespace

int RunMethods(int argc, char** argv, int first)
{
    Args args(argc, argv, first);
    if (const auto status = ParseCommandLine(args, kCommand, kUsage, kHelp))
        return *status;
    if (!args.Positional().empty())
        return UsageError(kCommand, "unexpected argument " + args.Positional().front(), kUsage);

    std::size_t titleWidth = 0;
    std::size_t notationWidth = 0;
    for (const BuiltInMethod& method : BuiltInMethods()) {
        titleWidth = std::max(titleWidth, method.title.size());
        notationWidth = std::max(notationWidth, method.notation.size());
    }
    const int titles = static_cast<int>(titleWidth);
    const int notations = static_cast<int>(notationWidth);
    std::printf("%-*s  %5s  %-*s  %s\n", titles, "TITLE", "STAGE", notations, "NOTATION", "CALLS");
    for (const BuiltInMethod& method : BuiltInMethods()) {
        const std::string title(method.title);
        const std::string notation(method.notation);
        std::printf("%-*s  %5d  %-*s  %s\n", titles, title.c_str(), method.stage, notations, notation.c_str(),
                    CallsText(method).c_str());
    }
    return 0;
}
