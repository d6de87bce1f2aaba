#include "cli/MethodOptions.h"

#include "base/ParseInteger.h"
#include "cli/CommandSupport.h"
#include "ringing/BuiltInMethods.h"
#include "ringing/PlaceNotation.h"
#include "ringing/TouchBuilder.h"
#include "ringing/TouchProof.h"

#include <cstdio>
#include <string>

namespace {

constexpr const char* kMethodOptions[] = {"--method", "--place-notation", "--stage", "--calls", "--bob", "--single"};

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

// Fills `request` from the options; returns the usage error, if any.
std::optional<std::string> ReadRequest(const Args& args, TouchRequest& request)
{
    const auto title = args.Value("--method");
    const auto notation = args.Value("--place-notation");
    const auto stage = args.Value("--stage");
    if (args.Value("--style"))
        return std::string("give --style or a method (--method, --place-notation), not both");
    if (title && notation)
        return std::string("give --method or --place-notation, not both");
    if (!title && !notation)
        return std::string("--calls, --bob, --single and --stage need --method or --place-notation");
    if (title) {
        if (stage)
            return std::string("--stage goes with --place-notation; a built-in method has its own");
        request.builtIn = FindBuiltInMethod(*title);
        if (request.builtIn == nullptr)
            return "no built-in method is titled '" + *title + "' ('carillix-cli methods' lists them)";
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
    request.bob = args.Value("--bob");
    request.single = args.Value("--single");
    if (request.bob && request.bob->empty())
        return std::string("--bob needs place notation");
    if (request.single && request.single->empty())
        return std::string("--single needs place notation");
    return std::nullopt;
}

}  // namespace

const char* const kTouchOptionsHelp =
    "\n"
    "Instead of --style, any method on 3 to 16 bells:\n"
    "  --method TITLE         a method that 'carillix-cli methods' lists (case is ignored)\n"
    "  --place-notation PN    a method given by the place notation of its lead, with\n"
    "  --stage N              the number of bells it is rung on, 3..16\n"
    "  --bells M              bells ringing, from the method's stage to 16; those beyond\n"
    "                         the stage cover (default: the stage, one more if it is odd)\n"
    "  --calls STRING         p (plain), b (bob) or s (single) for each call position in\n"
    "                         turn (every lead end; Stedman's six ends), repeated until\n"
    "                         the rows come round (default: the plain course)\n"
    "  --bob PN, --single PN  a call's place notation, for a method without one of its own\n"
    "                         or instead of it; it replaces as many changes, ending at\n"
    "                         the call position\n"
    "A touch that does not come round within 1,000,000 changes is refused; a false\n"
    "touch (one that repeats a row) is rung with a warning.\n";

void AddTouchOptions(Args& args)
{
    for (const char* option : kMethodOptions)
        args.AddValueOption(option);
}

bool WantsTouch(const Args& args)
{
    for (const char* option : kMethodOptions)
        if (args.Value(option))
            return true;
    return false;
}

std::optional<int> ReadTouchOptions(const Args& args, const char* command, const char* usage,
                                    std::optional<TouchChoice>& choice)
{
    choice.reset();
    if (!WantsTouch(args))
        return std::nullopt;
    TouchRequest request;
    if (const auto why = ReadRequest(args, request))
        return UsageError(command, *why, usage);

    const int stage = request.builtIn != nullptr ? request.builtIn->stage : request.stage;
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
    const TouchProof proof = ProveTouch(build.touch);
    if (!proof.comesRound) {
        std::fprintf(stderr, "%s\n", proof.refusal.c_str());
        return 1;
    }
    if (!proof.falseness.empty())
        std::fprintf(stderr, "warning: %s\n", proof.falseness.c_str());
    choice = TouchChoice{std::move(build.touch), static_cast<std::int16_t>(bells)};
    return std::nullopt;
}
