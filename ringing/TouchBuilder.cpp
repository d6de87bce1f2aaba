#include "ringing/TouchBuilder.h"

#include "base/MessageQuote.h"
#include "ringing/CallingResolver.h"
#include "ringing/MethodCatalogue.h"
#include "ringing/PlaceNotation.h"
#include "ringing/TouchProof.h"

#include <algorithm>
#include <string_view>

namespace {

// Stedman as written opens two changes before its first six end.
constexpr int kFirstSixEnd = 3;
constexpr int kChangesPerSix = 6;

std::vector<int> CallEnds(CallPosition position, int leadSize)
{
    if (position == CallPosition::LeadEnd)
        return {leadSize};
    std::vector<int> ends;
    for (int end = kFirstSixEnd; end <= leadSize; end += kChangesPerSix)
        ends.push_back(end);
    return ends;
}

// Reads the call the request gives, else the method's own; an empty notation means none.
bool ReadCall(const char* kind, const std::optional<std::string>& given, std::string_view own, int stage, Call& call,
              std::string& fault)
{
    call.notation = given ? *given : std::string(own);
    if (call.notation.empty())
        return true;
    PlaceNotation read = ReadPlaceNotation(call.notation, stage);
    if (!read.fault.empty()) {
        fault = std::string(kind) + " '" + MessageQuote(call.notation) + "': " + read.fault;
        return false;
    }
    call.changes = std::move(read.changes);
    return true;
}

bool IsContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// The UTF-8 character that starts at byte `at` of `text`, whole: up to the
// next byte that starts one.
std::string_view CharacterAt(std::string_view text, std::size_t at)
{
    std::size_t end = at + 1;
    while (end < text.size() && IsContinuationByte(text[end]))
        ++end;
    return text.substr(at, end - at);
}

// The UTF-8 characters that start before byte `at` of `text`.
std::size_t CharactersBefore(std::string_view text, std::size_t at)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at),
                                                  [](char byte) { return !IsContinuationByte(byte); }));
}

// The most changes a call may have: those between two successive call
// positions, and before the first one (a touch starts at a lead head).
int LongestCall(const std::vector<int>& ends)
{
    int longest = ends.front();
    for (std::size_t k = 1; k < ends.size(); ++k)
        longest = std::min(longest, ends[k] - ends[k - 1]);
    return longest;
}

bool CheckCalling(const Touch& touch, std::string& fault)
{
    for (std::size_t k = 0; k < touch.calling.size(); ++k) {
        const char letter = touch.calling[k];
        if (letter == 'p')
            continue;
        if (letter != 'b' && letter != 's') {
            fault = "the calling has '" + MessageQuote(CharacterAt(touch.calling, k)) + "' at character " +
                    std::to_string(CharactersBefore(touch.calling, k) + 1) +
                    "; it takes p (plain), b (bob) and s (single)";
            return false;
        }
        const bool bob = letter == 'b';
        const Call& call = bob ? touch.bob : touch.single;
        const char* kind = bob ? "bob" : "single";
        if (call.changes.empty()) {
            fault =
                touch.method.title + " has no " + kind + " of its own; the calling needs one given by place notation";
            return false;
        }
        const int longest = LongestCall(touch.callEnds);
        if (static_cast<int>(call.changes.size()) > longest) {
            fault = "the " + std::string(kind) + " has " + std::to_string(call.changes.size()) +
                    " changes; a call of " + touch.method.title + " may have at most " + std::to_string(longest);
            return false;
        }
    }
    return true;
}

// Reads a calling by positions and turns it into the touch's letters.
bool ResolvePositions(const TouchRequest& request, Touch& touch, TouchBuild& build)
{
    const int stage = touch.method.stage;
    if (request.method != nullptr && CalledAtSixEnds(*request.method)) {
        build.fault = touch.method.title +
                      " is called at six ends: give its calls one by one (p, b, s), not by "
                      "calling positions";
        return false;
    }
    if (request.parts < 1 || request.parts > kMostParts) {
        build.fault = "the parts must be a whole number from 1 to " + std::to_string(kMostParts);
        return false;
    }
    const CallingPositions calling = ReadCallingPositions(*request.positions);
    if (!calling.fault.empty()) {
        build.fault = calling.fault;
        return false;
    }
    for (const PositionCall& call : calling.calls) {
        const int place = PositionPlace(call.position, stage, false);
        if (place < 1 || place > stage) {
            build.fault = "calling word " + std::to_string(call.word) + ": position " + std::string(1, call.position) +
                          " is place " + std::to_string(place) + ", beyond the stage of " + std::to_string(stage);
            return false;
        }
        if (touch.calling.find(call.call) == std::string::npos)
            touch.calling.push_back(call.call);
    }
    if (!CheckCalling(touch, build.fault))
        return false;
    const ResolvedCalling resolved = ResolveCalling(touch, calling, request.parts, kMaxTouchChanges);
    touch.calling = resolved.letters;
    touch.repeatCalling = false;
    build.warning = resolved.shortfall;
    return true;
}

}  // namespace

bool CalledAtSixEnds(const MethodEntry& method)
{
    const std::string title = FoldedTitle(method.title);
    return method.calls == CallPosition::SixEnd || title.starts_with("stedman ") || title.starts_with("erin ");
}

TouchBuild BuildTouch(const TouchRequest& request)
{
    TouchBuild build;
    Touch& touch = build.touch;
    const MethodEntry* method = request.method;
    const std::string notation = method != nullptr ? std::string(method->notation) : request.placeNotation;
    const int stage = method != nullptr ? method->stage : request.stage;
    std::string title = method != nullptr ? std::string(method->title)
                                          : "place notation " + MessageQuote(notation) + " on " + std::to_string(stage);
    MethodRead read = ReadMethod(std::move(title), notation, stage);
    if (!read.fault.empty()) {
        build.fault = "place notation '" + MessageQuote(notation) + "': " + read.fault;
        return build;
    }
    touch.method = std::move(read.method);
    const int leadSize = static_cast<int>(touch.method.lead.size());
    touch.callEnds = CallEnds(method != nullptr ? method->calls : CallPosition::LeadEnd, leadSize);

    if (!ReadCall("bob", request.bob, method != nullptr ? method->bob : "", stage, touch.bob, build.fault) ||
        !ReadCall("single", request.single, method != nullptr ? method->single : "", stage, touch.single, build.fault))
        return build;
    touch.observation = request.observation == 0 ? stage : request.observation;
    if (touch.observation < 1 || touch.observation > stage) {
        build.fault = "the observation bell must be from 1 to " + std::to_string(stage);
        return build;
    }
    if (request.positions) {
        ResolvePositions(request, touch, build);
        return build;
    }
    touch.calling = request.calling;
    CheckCalling(touch, build.fault);
    return build;
}
