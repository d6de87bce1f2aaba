#include "cli/MethodOptions.h"

#include "base/ParseInteger.h"
#include "cli/CommandSupport.h"
#include "cli/LibraryOption.h"
#include "ringing/CallingPositions.h"
#include "ringing/MethodCatalogue.h"
#include "ringing/PlaceNotation.h"
#include "ringing/TouchBuilder.h"
#include "ringing/TouchProof.h"

#include <cstdio>
#include <string>

namespace {

constexpr const char* kMethodOptions[] = {"--method", "--place-notation", "--stage", "--calls",      "--bob",
                                          "--single", "--calling",        "--parts", "--observation"};

// The letters of a calling, folded to lower case; nullopt for any other letter.
std::optional<std::string> ParseCalling(const std::string& text)
{
    std::string calling;
    for (const char letter : text) {
        const char lower = letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
        if (lower != 'p' && lower != 'b' && lower != 's')
            return std::nullopt;
        calling += lower;
    }
    if (calling.empty())
        return std::nullopt;
    return calling;
}

// Fills in a calling by positions (--calling, --parts, --observation);
// returns the usage error, if any.
std::optional<std::string> ReadPositions(const Args& args, TouchRequest& request)
{
    const auto calling = args.Value("--calling");
    const auto parts = args.Value("--parts");
    const auto observation = args.Value("--observation");
    if (!calling)
        return parts || observation ? std::optional<std::string>("--parts and --observation go with --calling")
                                    : std::nullopt;
    if (args.Value("--calls"))
        return std::string("give --calls or --calling, not both");
    if (const std::string fault = ReadCallingPositions(*calling).fault; !fault.empty())
        return fault;
    request.positions = *calling;
    if (parts) {
        const auto parsed = ParseInteger(*parts, 1, kMostParts);
        if (!parsed)
            return "--parts must be a whole number from 1 to " + std::to_string(kMostParts);
        request.parts = *parsed;
    }
    const int stage = request.method != nullptr ? request.method->stage : request.stage;
    if (observation) {
        const auto parsed = ParseInteger(*observation, 1, stage);
        if (!parsed)
            return "--observation must be a bell from 1 to " + std::to_string(stage) + ", the stage";
        request.observation = static_cast<int>(*parsed);
    }
    return std::nullopt;
}

// Fills `request` from the options; returns the usage error, if any.
std::optional<std::string> ReadRequest(const Args& args, const MethodCatalogue& catalogue, TouchRequest& request)
{
    const auto title = args.Value("--method");
    const auto notation = args.Value("--place-notation");
    const auto stage = args.Value("--stage");
    if (args.Value("--style"))
        return std::string("give --style or a method (--method, --place-notation), not both");
    if (title && notation)
        return std::string("give --method or --place-notation, not both");
    if (!title && !notation)
        return std::string("--calls, --calling, --bob, --single and --stage need --method or --place-notation");
    if (title) {
        if (stage)
            return std::string("--stage goes with --place-notation; a method chosen by title has its own");
        const TitleLookup lookup = catalogue.Lookup(*title);
        if (lookup.method == nullptr)
            return lookup.fault + " ('carillix-cli methods --search TEXT' finds titles)";
        request.method = lookup.method;
    } else {
        if (!stage)
            return std::string("--place-notation needs --stage N");
        const auto parsed = ParseInteger(*stage, kMinStage, kMaxStage);
        if (!parsed)
            return std::string("--stage must be a whole number from 3 to 16");
        request.placeNotation = *notation;
        request.stage = static_cast<int>(*parsed);
    }
    if (const auto calls = args.Value("--calls")) {
        const auto calling = ParseCalling(*calls);
        if (!calling)
            return std::string("--calls takes the letters p (plain), b (bob) and s (single)");
        request.calling = *calling;
    }
    if (const auto why = ReadPositions(args, request))
        return why;
    request.bob = args.Value("--bob");
    request.single = args.Value("--single");
    if (request.bob && request.bob->empty())
        return std::string("--bob needs place notation");
    if (request.single && request.single->empty())
        return std::string("--single needs place notation");
    return std::nullopt;
}

}  // namespace

const std::string kTouchOptionsHelp =
    std::string(
        "\n"
        "Instead of --style, any method on 3 to 16 bells:\n"
        "  --method TITLE         a method that 'carillix-cli methods' lists (case is ignored)\n") +
    kLibraryOptionHelp +
    "  --place-notation PN    a method given by the place notation of its lead, with\n"
    "  --stage N              the number of bells it is rung on, 3..16\n"
    "  --bells M              bells ringing, from the method's stage to 16; those beyond\n"
    "                         the stage cover (default: the stage, one more if it is odd)\n"
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
    "                         bob 1(n-2) and single 1(n-2)(n-1)n)\n"
    "A touch that does not come round within 1,000,000 changes is refused; a false\n"
    "touch (one that repeats a row) is rung with a warning.\n";

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
    TouchRequest request;
    if (const auto why = ReadRequest(args, catalogue, request))
        return UsageError(command, *why, usage);

    const int stage = request.method != nullptr ? request.method->stage : request.stage;
    long bells = stage % 2 == 0 ? stage : stage + 1;  // an odd stage rings with a covering tenor
    if (const auto text = args.Value("--bells")) {
        const auto parsed = ParseInteger(*text, stage, kMaxBells);
        if (!parsed)
            return UsageError(
                command, "--bells must be a whole number from the method's stage (" + std::to_string(stage) + ") to 16",
                usage);
        bells = *parsed;
    }

    TouchBuild build = BuildTouch(request);
    if (!build.fault.empty()) {
        std::fprintf(stderr, "%s\n", build.fault.c_str());
        return 1;
    }
    if (!build.warning.empty())
        std::fprintf(stderr, "warning: %s\n", build.warning.c_str());
    TouchProof proof = ProveTouch(build.touch);
    if (!proof.comesRound) {
        std::fprintf(stderr, "%s\n", proof.refusal.c_str());
        return 1;
    }
    if (warnIfFalse && !proof.falseness.empty())
        std::fprintf(stderr, "warning: %s\n", proof.falseness.c_str());
    choice = TouchChoice{std::move(build.touch), static_cast<std::int16_t>(bells), std::move(proof)};
    return std::nullopt;
}
