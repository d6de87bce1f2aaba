#include "cli/Args.h"
#include "cli/Commands.h"
#include "ringing/NextRow.h"
#include "ringing/RowText.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "usage: carillix-cli rows [--bells 5|6|8|10|12|14|16] "
    "[--style home|treble-bob|grandsire|stedman|principle]\n";

constexpr const char* kHelp =
    "Prints the rows of a touch as the renderer rings them, one per line, from\n"
    "row 0 up to and including the row at which the method comes home. With the\n"
    "style 'home' it prints the four opening rows. Bells are written 1234567890ETABCD.\n"
    "\n"
    "  --bells N    number of bells: 5 6 8 10 12 14 16 (default 10)\n"
    "  --style S    home, treble-bob, grandsire, stedman or principle (default home);\n"
    "               principle on fewer than sixteen bells rings Stedman\n";

struct StyleName {
    std::string_view name;
    MethodStyle style;
};
constexpr std::array<StyleName, 5> kStyles{{
    {"home", StyleHome},
    {"treble-bob", StyleTrebleBob},
    {"grandsire", StyleGrandsire},
    {"stedman", StyleStedman},
    {"principle", StylePrinciple},
}};

int UsageError(const std::string& why)
{
    std::fprintf(stderr, "carillix-cli rows: %s\n%s", why.c_str(), kUsage);
    return 2;
}

bool IsStage(long bells)
{
    return bells == 5 || bells == 6 || bells == 8 || bells == 10 || bells == 12 || bells == 14 ||
           bells == 16;
}

}  // namespace

int RunRows(int argc, char** argv, int first)
{
    Args args(argc, argv, first);
    args.AddValueOption("--bells");
    args.AddValueOption("--style");
    args.AddFlag("--help");
    if (!args.Parse())
        return UsageError(args.Error());
    if (args.Flag("--help")) {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (!args.Positional().empty())
        return UsageError("unexpected argument " + args.Positional().front());

    long bells = 10;
    if (const auto text = args.Value("--bells")) {
        const auto parsed = ParseInteger(*text, 0, 16);
        if (!parsed || !IsStage(*parsed))
            return UsageError("--bells must be one of 5 6 8 10 12 14 16");
        bells = *parsed;
    }
    MethodStyle style = StyleHome;
    if (const auto text = args.Value("--style")) {
        bool known = false;
        for (const StyleName& entry : kStyles)
            if (entry.name == *text) {
                style = entry.style;
                known = true;
            }
        if (!known)
            return UsageError("unknown style '" + *text + "'");
    }
    if (style == StylePrinciple && bells != 16) {
        std::fputs("carillix-cli rows: principle is rung on sixteen bells only; ringing stedman\n",
                   stderr);
        style = StyleStedman;
    }

    const auto stage = static_cast<std::int16_t>(bells);
    Row row = HomeRow();
    std::printf("%s\n", RowText(row, stage).c_str());
    const std::int32_t lastOpeningRow = 3;
    for (std::int32_t rowIndex = 1;; ++rowIndex) {
        const bool home = NextRow(rowIndex, row, stage, style);
        std::printf("%s\n", RowText(row, stage).c_str());
        if (home || (style == StyleHome && rowIndex == lastOpeningRow))
            break;
    }
    return 0;
}
