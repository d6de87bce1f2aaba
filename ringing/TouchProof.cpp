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

}  // namespace

TouchProof ProveTouch(const Touch& touch, std::int64_t changeLimit)
{
    TouchProof proof;
    const int stage = touch.method.stage;
    {
        TouchStepper stepper(touch);
        Row row = HomeRow();
        while (stepper.Changes() < changeLimit && !stepper.Step(row)) {
        }
        proof.comesRound = stepper.CameRound();
        proof.changes = stepper.Changes();
    }
    if (!proof.comesRound) {
        proof.refusal =
            touch.method.title + ": the touch does not come round within " + GroupedThousands(changeLimit) + " changes";
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
