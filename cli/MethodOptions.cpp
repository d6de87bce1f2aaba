#include "cli/MethodOptions.h"

#include "base/ParseInteger.h"
#include "cli/CommandSupport.h"
#include "cli/LibraryOption.h"
#include "ringing/MethodCatalogue.h"
#include "ringing/TouchOptions.h"

#include <cstdio>
#include <string>

namespace {

constexpr const char* kMethodOptions[] = {"--method", "--place-notation", "--stage", "--calls",      "--bob",
                                          "--single", "--calling",        "--parts", "--observation"};

// The method options as given.
TouchOptions OptionsOf(const Args& args)
{
    TouchOptions options;
    options.method = args.Value("--method");
    options.placeNotation = args.Value("--place-notation");
    options.stage = args.Value("--stage");
    options.calls = args.Value("--calls");
    options.calling = args.Value("--calling");
    options.parts = args.Value("--parts");
    options.observation = args.Value("--observation");
    options.bob = args.Value("--bob");
    options.single = args.Value("--single");
    return options;
}

}  // namespace

std::string TouchOptionsHelp(TouchUse use)
{
    const bool rings = use == TouchUse::Ring;
    std::string help = rings ? "\nInstead of --style, any method on 3 to 16 bells:\n"
                             : "\nThe method and its touch, on 3 to 16 bells:\n";
    help += "  --method TITLE         a method that 'carillix-cli methods' lists (case is ignored)\n";
    help += kLibraryOptionHelp;
    help +=
        "  --place-notation PN    a method given by the place notation of its lead, with\n"
        "  --stage N              the number of bells it is rung on, 3..16\n";
    if (rings)
        help +=
            "  --bells M              bells ringing, from the method's stage to 16; those beyond\n"
            "                         the stage cover (default: the stage, one more if it is odd)\n";
    help +=
        "  --calls STRING         p (plain), b (bob) or s (single) for each call position in\n"
        "                         turn (every lead end; Stedman's six ends), repeated until\n"
        "                         the rows come round (default: the plain course)\n"
        "  --calling \"WORDS\"      a composition by calling positions, e.g. \"W H H\" or\n"
        "                         \"sM W 3H\": each word [k][-|s]P calls a bob (-, the default)\n"
        "                         or a single (s) where it leaves the observation bell in\n"
        "                         position P, in k successive courses; after the last call,\n"
        "                         plain leads until rounds. Positions: H home, W wrong, M\n"
        "                         middle, I 2nds, B before, O/T 3rds, F 4ths, V 5ths, X 6ths,\n"
        "                         S 7ths, E 8ths, N 9ths. Not for Stedman or Erin\n"
        "  --parts N              ring the calling N times over (default 1)\n"
        "  --observation BELL     the observation bell, 1..stage (default: the stage's\n"
        "                         heaviest, 8 in Major, 7 in Grandsire Triples)\n"
        "  --bob PN, --single PN  a call's place notation, for a method without one of its own\n"
        "                         or instead of it; it replaces as many changes, ending at\n"
        "                         the call position (a library method on an even stage has\n"
        "                         bob 14 and single 1234 at a 12 lead end; at a 1n lead end,\n"
        "                         bob 1(n-2) and single 1(n-2)(n-1)n)\n";
    if (rings)
        help +=
            "A touch that does not come round within 1,000,000 changes is refused; a false\n"
            "touch (one that repeats a row) is rung with a warning.\n";
    return help;
}

void AddTouchOptions(Args& args)
{
    for (const char* option : kMethodOptions)
        args.AddValueOption(option);
    AddLibraryOption(args);
}

bool WantsTouch(const Args& args)
{
    for (const char* option : kMethodOptions)
        if (args.Value(option))
            return true;
    return false;
}

std::optional<int> ReadTouchOptions(const Args& args, const char* command, const char* usage,
                                    std::optional<TouchChoice>& choice, bool warnIfFalse)
{
    choice.reset();
    if (!WantsTouch(args))
        return std::nullopt;
    MethodCatalogue catalogue;
    LibraryUse library;
    if (const auto status = LoadLibrary(args, args.Value("--method").has_value(), catalogue, library))
        return *status;
    if (args.Value("--style"))
        return UsageError(command, "give --style or a method (--method, --place-notation), not both", usage);
    ProvedTouch proved = ProveTouchOptions(OptionsOf(args), catalogue);
    if (proved.usageFault)
        return UsageError(command, proved.fault, usage);

    const int stage = proved.request.method != nullptr ? proved.request.method->stage : proved.request.stage;
    long bells = stage % 2 == 0 ? stage : stage + 1;  // an odd stage rings with a covering tenor
    if (const auto text = args.Value("--bells")) {
        const auto parsed = ParseInteger(*text, stage, kMaxBells);
        if (!parsed)
            return UsageError(
                command, "--bells must be a whole number from the method's stage (" + std::to_string(stage) + ") to 16",
                usage);
        bells = *parsed;
    }
    if (!proved.warning.empty())
        std::fprintf(stderr, "warning: %s\n", proved.warning.c_str());
    if (!proved.fault.empty()) {
        std::fprintf(stderr, "%s\n", proved.fault.c_str());
        return 1;
    }
    if (warnIfFalse && !proved.proof.falseness.empty())
        std::fprintf(stderr, "warning: %s\n", proved.proof.falseness.c_str());
    choice = TouchChoice{std::move(proved.touch), static_cast<std::int16_t>(bells), std::move(proved.proof)};
    return std::nullopt;
}
