#include "ringing/TouchProof.h"

#include "base/NumberText.h"
#include "ringing/RowText.h"
#include "ringing/TouchStepper.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// Four bits per position: a row of up to sixteen bells in one word.
std::uint64_t Pack(const Row& row, int stage)
{
    std::uint64_t packed = 0;
    for (int q = 0; q < stage; ++q)
        packed = packed << 4 | static_cast<std::uint64_t>(row[q]);
    return packed;
}

// Where the calling stands at the start of lead `leads` (0 for the first):
// the index of the letter it gives next, or, past the end of a calling that
// is not repeated, its size.
std::size_t CallingPhase(const Touch& touch, std::int64_t leads)
{
    if (touch.calling.empty())
        return 0;
    const std::size_t passed = static_cast<std::size_t>(leads) * touch.callEnds.size();
    return touch.repeatCalling ? passed % touch.calling.size() : std::min(passed, touch.calling.size());
}

// Watches a touch's state at each lead start: the row and the calling's
// phase. That state decides every change after it, so once a state comes
// again before rounds, the touch goes round that cycle for ever without
// reaching rounds. Brent's method finds the cycle holding one earlier state,
// whatever the touch's length.
class LeadCycleWatch {
public:
    explicit LeadCycleWatch(const Touch& touch) : touch(touch), tortoise{Pack(HomeRow(), touch.method.stage), 0} {}

    // Takes the row at the start of lead `leads`; the length in leads of the
    // cycle it closes, or 0.
    std::int64_t Watch(const Row& row, std::int64_t leads)
    {
        const State hare{Pack(row, touch.method.stage), CallingPhase(touch, leads)};
        ++distance;
        if (hare == tortoise)
            return distance;
        if (distance == power) {
            tortoise = hare;
            power *= 2;
            distance = 0;
        }
        return 0;
    }

private:
    struct State {
        std::uint64_t row;
        std::size_t phase;
        bool operator==(const State&) const = default;
    };

    const Touch& touch;
    State tortoise;
    std::int64_t power = 1;
    std::int64_t distance = 0;
};

// Why a touch that has not come round is refused: a cycle without rounds,
// named as a ringer thinks of it, or the limit reached.
std::string NeverRoundText(const Touch& touch, const TouchProof& proof, std::int64_t changeLimit)
{
    if (proof.cycleChanges == 0)
        return "does not come round within " + GroupedThousands(changeLimit) + " changes";
    const auto leads = proof.changes / static_cast<std::int64_t>(touch.method.lead.size());
    const bool afterLastCall =
        !touch.repeatCalling && !touch.calling.empty() && CallingPhase(touch, leads) == touch.calling.size();
    return std::string("never comes round: ") + (afterLastCall ? "after the last call, plain leads" : "its rows") +
           " repeat every " + GroupedThousands(proof.cycleChanges) + " changes without reaching rounds";
}

}  // namespace

TouchProof ProveTouch(const Touch& touch, std::int64_t changeLimit)
{
    TouchProof proof;
    const int stage = touch.method.stage;
    std::int64_t cycleLeads = 0;
    {
        const auto leadSize = static_cast<std::int64_t>(touch.method.lead.size());
        LeadCycleWatch watch(touch);
        TouchStepper stepper(touch);
        Row row = HomeRow();
        while (stepper.Changes() < changeLimit && !stepper.Step(row))
            if (stepper.Changes() % leadSize == 0 && (cycleLeads = watch.Watch(row, stepper.Changes() / leadSize)) != 0)
                break;
        proof.comesRound = stepper.CameRound();
        proof.changes = stepper.Changes();
        proof.cycleChanges = cycleLeads * leadSize;
    }
    if (!proof.comesRound) {
        proof.refusal = touch.method.title + ": the touch " + NeverRoundText(touch, proof, changeLimit);
        return proof;
    }

    std::vector<std::pair<std::uint64_t, std::int64_t>> rows;
    rows.reserve(static_cast<std::size_t>(proof.changes));
    TouchStepper stepper(touch);
    Row row = HomeRow();
    for (std::int64_t change = 0; change < proof.changes; ++change) {
        rows.emplace_back(Pack(row, stage), change);
        stepper.Step(row);
    }
    std::sort(rows.begin(), rows.end());

    std::int64_t firstSecond = proof.changes;
    for (std::size_t k = 1; k < rows.size(); ++k) {
        if (rows[k].first != rows[k - 1].first)
            continue;
        ++proof.repeats;
        const bool secondOfItsRow = k < 2 || rows[k - 2].first != rows[k].first;
        if (secondOfItsRow && rows[k].second < firstSecond) {
            firstSecond = rows[k].second;
            proof.firstRepeatAt = rows[k - 1].second;
            proof.secondRepeatAt = rows[k].second;
        }
    }
    if (proof.repeats == 0)
        return proof;

    TouchStepper replay(touch);
    proof.firstRepeat = HomeRow();
    while (replay.Changes() < proof.firstRepeatAt)
        replay.Step(proof.firstRepeat);
    proof.falseness = touch.method.title + ": the touch is false: " + GroupedThousands(proof.repeats) +
                      (proof.repeats == 1 ? " row comes" : " rows come") + " again before rounds; the first, " +
                      RowText(proof.firstRepeat, stage) + ", after changes " + GroupedThousands(proof.firstRepeatAt) +
                      " and " + GroupedThousands(proof.secondRepeatAt);
    return proof;
}

std::string ProofLine(const TouchProof& proof)
{
    if (!proof.comesRound)
        return proof.refusal;
    const std::string length = std::to_string(proof.changes) + " changes, ";
    if (proof.repeats == 0)
        return length + "true";
    return length + "false (" + std::to_string(proof.repeats) +
           (proof.repeats == 1 ? " row repeats)" : " rows repeat)");
}
