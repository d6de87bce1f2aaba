#include "ringing/TouchOptions.h"

#include "base/AsciiCase.h"
#include "base/ParseInteger.h"
#include "ringing/CallingPositions.h"
#include "ringing/PlaceNotation.h"

namespace {

// The letters of a calling, folded to lower case; nullopt for any other letter.
std::optional<std::string> ReadCallLetters(const std::string& text)
{
    std::string calling;
    for (const char letter : text) {
        const char lower = AsciiLower(letter);
        if (lower != 'p' && lower != 'b' && lower != 's')
            return std::nullopt;
        calling += lower;
    }
    if (calling.empty())
        return std::nullopt;
    return calling;
}

// Fills in a calling by positions (--calling, --parts, --observation).
std::optional<std::string> ReadPositions(const TouchOptions& options, const TouchOptionNames& names,
                                         TouchRequest& request)
{
    if (!options.calling) {
        if (!options.parts && !options.observation)
            return std::nullopt;
        if (names.observation.empty())
            return names.parts + " goes with " + names.calling;
        return names.parts + " and " + names.observation + " go with " + names.calling;
    }
    if (options.calls)
        return "give " + names.calls + " or " + names.calling + ", not both";
    if (const std::string fault = ReadCallingPositions(*options.calling).fault; !fault.empty())
        return fault;
    request.positions = *options.calling;
    if (options.parts) {
        const auto parsed = ParseInteger(*options.parts, 1, kMostParts);
        if (!parsed)
            return names.parts + " must be a whole number from 1 to " + std::to_string(kMostParts);
        request.parts = *parsed;
    }
    const int stage = request.method != nullptr ? request.method->stage : request.stage;
    if (options.observation) {
        const auto parsed = ParseInteger(*options.observation, 1, stage);
        if (!parsed)
            return names.observation + " must be a bell from 1 to " + std::to_string(stage) + ", the stage";
        request.observation = static_cast<int>(*parsed);
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ReadTouchOptions(const TouchOptions& options, const MethodCatalogue& catalogue,
                                            TouchRequest& request, const TouchOptionNames& names)
{
    if (options.method && options.placeNotation)
        return "give " + names.method + " or " + names.placeNotation + ", not both";
    if (!options.method && !options.placeNotation)
        return names.calls + ", " + names.calling + ", " + names.bob + ", " + names.single + " and " + names.stage +
               " need " + names.method + " or " + names.placeNotation;
    if (options.method) {
        if (options.stage)
            return names.stage + " goes with " + names.placeNotation + "; a method chosen by title has its own";
        const TitleLookup lookup = catalogue.Lookup(*options.method);
        if (lookup.method == nullptr)
            return lookup.fault + " ('carillix-cli methods --search TEXT' finds titles)";
        request.method = lookup.method;
    } else {
        if (!options.stage)
            return names.placeNotation + " needs " + names.stage + ", the number of bells it is rung on";
        const auto parsed = ParseInteger(*options.stage, kMinStage, kMaxStage);
        if (!parsed)
            return names.stage + " must be a whole number from 3 to 16";
        request.placeNotation = *options.placeNotation;
        request.stage = static_cast<int>(*parsed);
    }
    if (options.calls) {
        const auto calling = ReadCallLetters(*options.calls);
        if (!calling)
            return names.calls + " takes the letters p (plain), b (bob) and s (single)";
        request.calling = *calling;
    }
    if (const auto why = ReadPositions(options, names, request))
        return why;
    request.bob = options.bob;
    request.single = options.single;
    if (request.bob && request.bob->empty())
        return names.bob + " needs place notation";
    if (request.single && request.single->empty())
        return names.single + " needs place notation";
    return std::nullopt;
}

ProvedTouch ProveTouchOptions(const TouchOptions& options, const MethodCatalogue& catalogue,
                              const TouchOptionNames& names)
{
    ProvedTouch proved;
    if (const auto why = ReadTouchOptions(options, catalogue, proved.request, names)) {
        proved.fault = *why;
        proved.usageFault = true;
        return proved;
    }
    TouchBuild build = BuildTouch(proved.request);
    if (!build.fault.empty()) {
        proved.fault = build.fault;
        return proved;
    }
    proved.warning = build.warning;
    proved.touch = std::move(build.touch);
    proved.proof = ProveTouch(proved.touch);
    if (!proved.proof.comesRound)
        proved.fault = proved.proof.refusal;
    return proved;
}
