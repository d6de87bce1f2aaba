#include "cli/Args.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/MethodOptions.h"
#include "ringing/NextRow.h"
#include "ringing/RowText.h"
#include "ringing/TouchStepper.h"

#include <cstdio>
#include <string>

namespace {

constexpr const char* kCommand = "rows";

constexpr const char* kUsage =
    "usage: carillix-cli rows [--bells 5|6|8|10|12|14|16] "
    "[--style home|treble-bob|grandsire|stedman|principle]\n"
    "       carillix-cli rows (--method TITLE | --place-notation PN --stage N) [--bells M]\n"
    "                         [--calls STRING | --calling \"WORDS\" [--parts N] [--observation BELL]]\n"
    "                         [--bob PN] [--single PN] [--library FILE]\n";

constexpr const char* kHelp =
    "Prints the rows of a touch as the renderer rings them, one per line, from\n"
    "row 0 up to and including the row at which the method comes home. With the\n"
    "style 'home' it prints the four opening rows. Bells are written 1234567890ETABCD.\n"
    "\n"
    "  --bells N    number of bells: 5 6 8 10 12 14 16 (default 10)\n"
    "  --style S    home, treble-bob, grandsire, stedman or principle (default home);\n"
    "               principle on fewer than sixteen bells rings Stedman\n";

void PrintTouchRows(const TouchChoice& choice)
{
    TouchStepper stepper(choice.touch);
    Row row = HomeRow();
    std::printf("%s\n", RowText(row, choice.bells).c_str());
    for (std::int32_t rowIndex = 1; !stepper.CameRound(); ++rowIndex) {
        stepper.Next(rowIndex, row);
        std::printf("%s\n", RowText(row, choice.bells).c_str());
    }
}

}  // namespace

int RunRows(int argc, char** argv, int first)
{
    Args args(argc, argv, first);
    args.AddValueOption("--bells");
    args.AddValueOption("--style");
    AddTouchOptions(args);
    const std::string help = std::string(kHelp) + TouchOptionsHelp(TouchUse::Ring);
    if (const auto status = ParseCommandLine(args, kCommand, kUsage, help.c_str()))
        return *status;
    if (const auto status = RefuseArguments(args, kCommand, kUsage))
        return *status;

    std::optional<TouchChoice> touch;
    if (const auto status = ReadTouchOptions(args, kCommand, kUsage, touch))
        return *status;
    if (touch) {
        PrintTouchRows(*touch);
        return 0;
    }

    std::int16_t stage = 10;
    if (const auto text = args.Value("--bells")) {
        const auto parsed = ParseStage(*text);
        if (!parsed)
            return UsageError(kCommand, "--bells must be one of 5 6 8 10 12 14 16", kUsage);
        stage = *parsed;
    }
    MethodStyle style = StyleHome;
    if (const auto text = args.Value("--style")) {
        const auto parsed = ParseStyle(*text);
        if (!parsed)
            return UsageError(kCommand, UnknownStyle(*text), kUsage);
        style = *parsed;
    }
    if (style == StylePrinciple && stage != 16) {
        std::fputs("carillix-cli rows: principle is rung on sixteen bells only; ringing stedman\n", stderr);
        style = StyleStedman;
    }

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
