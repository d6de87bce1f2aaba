#include "ringing/CallingResolver.h"

#include <algorithm>
#include <limits>

namespace {

std::int64_t SaturatingProduct(std::int64_t a, std::int64_t b)
{
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
    return b != 0 && a > kMost / b ? kMost : a * b;
}

// The calls of a calling in ringing order, without writing them all out.
class CallSequence {
public:
    CallSequence(const CallingPositions& calling, std::int64_t parts) : calling(calling), parts(parts) {}

    bool Done() const { return calling.calls.empty() || part == parts; }
    const PositionCall& Next() const { return calling.calls[word]; }
    void Advance()
    {
        if (++course < calling.calls[word].courses)
            return;
        course = 0;
        if (++word < calling.calls.size())
            return;
        word = 0;
        ++part;
    }

private:
    const CallingPositions& calling;
    std::int64_t parts;
    std::int64_t part = 0;
    std::size_t word = 0;
    std::int64_t course = 0;
};

}  // namespace

ResolvedCalling ResolveCalling(const Touch& touch, const CallingPositions& calling, std::int64_t parts,
                               std::int64_t changeLimit)
{
    ResolvedCalling resolved;
    std::int64_t perPart = 0;
    for (const PositionCall& call : calling.calls)
        perPart = std::min(std::numeric_limits<std::int64_t>::max() - call.courses, perPart) + call.courses;
    resolved.wanted = SaturatingProduct(perPart, parts);

    const std::vector<Change>& lead = touch.method.lead;
    const int stage = touch.method.stage;
    const int bell = touch.observation - 1;
    const bool bobSeconds = MakesSeconds(touch.bob.changes);
    const bool singleSeconds = MakesSeconds(touch.single.changes);
    const std::string& title = touch.method.title;

    CallSequence sequence(calling, parts);
    Row row = HomeRow();
    Row waitingFrom = row;  // the lead head where the present run of plain leads began
    std::int64_t changes = 0;
    std::size_t lastCall = 0;  // letters up to and including the last call made
    // Rings `change` into `row`; true when the rows have come round.
    const auto ring = [&](const Change& change, Row& into) {
        ApplyChange(change, into);
        ++changes;
        return IsHomeRow(into, stage);
    };
    bool cameRound = false;
    while (!sequence.Done() && !cameRound) {
        if (changes >= changeLimit) {
            resolved.shortfall = title + ": " + std::to_string(resolved.made) + " of the calling's " +
                                 std::to_string(resolved.wanted) + " calls are made within " +
                                 std::to_string(changeLimit) + " changes";
            break;
        }
        const PositionCall& next = sequence.Next();
        const bool bob = next.call == 'b';
        const std::vector<Change>& call = bob ? touch.bob.changes : touch.single.changes;
        const std::size_t callStart = lead.size() - call.size();
        for (std::size_t k = 0; k < callStart && !cameRound; ++k)
            cameRound = ring(lead[k], row);
        if (cameRound)
            break;
        Row called = row;
        for (const Change& change : call)
            ApplyChange(change, called);
        const int wantedPlace = PositionPlace(next.position, stage, bob ? bobSeconds : singleSeconds);
        if (PlaceOfBell(called, bell, stage) == wantedPlace) {
            for (std::size_t k = 0; k < call.size() && !cameRound; ++k)
                cameRound = ring(call[k], row);
            resolved.letters.push_back(next.call);
            lastCall = resolved.letters.size();
            ++resolved.made;
            sequence.Advance();
            waitingFrom = row;
            continue;
        }
        for (std::size_t k = callStart; k < lead.size() && !cameRound; ++k)
            cameRound = ring(lead[k], row);
        resolved.letters.push_back('p');
        if (!cameRound && row == waitingFrom) {
            resolved.shortfall = title + ": call " + std::to_string(resolved.made + 1) + " of the calling (word " +
                                 std::to_string(next.word) + ") can never be made: plain leads do not bring the " +
                                 "observation bell to its position; " + std::to_string(resolved.made) + " of " +
                                 std::to_string(resolved.wanted) + " calls are made";
            break;
        }
    }
    if (cameRound && resolved.made < resolved.wanted)
        resolved.shortfall = title + ": the touch comes round after " + std::to_string(changes) + " changes, with " +
                             std::to_string(resolved.made) + " of the calling's " + std::to_string(resolved.wanted) +
                             " calls made";
    resolved.letters.resize(lastCall);
    return resolved;
}
