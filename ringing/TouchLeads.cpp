#include "ringing/TouchLeads.h"

#include "ringing/CallingPositions.h"
#include "ringing/TouchStepper.h"

#include <algorithm>

namespace {

void AddCall(std::string& calls, const std::string& name)
{
    if (!calls.empty())
        calls.push_back(' ');
    calls += name;
}

}  // namespace

TouchLeads RecordLeads(const Touch& touch, std::int64_t changes)
{
    TouchLeads record;
    const int stage = touch.method.stage;
    const auto leadSize = static_cast<std::int64_t>(touch.method.lead.size());
    const bool bobSeconds = MakesSeconds(touch.bob.changes);
    const bool singleSeconds = MakesSeconds(touch.single.changes);
    TouchStepper stepper(touch);
    Row row = HomeRow();
    std::size_t callIndex = 0;
    std::string inLead;
    const auto name = [&](char letter, const Row& endRow) {
        const int place = PlaceOfBell(endRow, touch.observation - 1, stage);
        const std::string name = CallName(letter, place, stage, letter == 'b' ? bobSeconds : singleSeconds);
        AddCall(inLead, name);
        AddCall(record.calls, name);
    };
    for (std::int64_t change = 1; change <= changes; ++change) {
        stepper.Step(row);
        const std::int64_t leadPosition = (change - 1) % leadSize + 1;
        for (const int end : touch.callEnds) {
            if (end != leadPosition)
                continue;
            const char letter = CallLetter(touch, callIndex++);
            if (letter != 'p')
                name(letter, row);
        }
        if (change == changes) {
            // Rounds can come part-way through a call. That call was made (the
            // calling that resolved it counts it), so it is named by the row it
            // would have ended on.
            const auto next = std::upper_bound(touch.callEnds.begin(), touch.callEnds.end(), leadPosition);
            const char letter = next == touch.callEnds.end() ? 'p' : CallLetter(touch, callIndex);
            const std::vector<Change>& call = letter == 'b' ? touch.bob.changes : touch.single.changes;
            const std::int64_t rungOfCall =
                letter == 'p' ? 0 : leadPosition - (*next - static_cast<std::int64_t>(call.size()));
            if (rungOfCall > 0) {
                Row endRow = row;
                for (auto k = static_cast<std::size_t>(rungOfCall); k < call.size(); ++k)
                    ApplyChange(call[k], endRow);
                name(letter, endRow);
            }
        }
        if (leadPosition == leadSize || change == changes) {
            record.leads.push_back({row, change, inLead});
            inLead.clear();
        }
    }
    return record;
}

std::vector<LeadRecord> CourseEnds(const Touch& touch, const TouchLeads& leads)
{
    std::vector<LeadRecord> ends;
    std::string inCourse;
    const int stage = touch.method.stage;
    for (const LeadRecord& lead : leads.leads) {
        if (!lead.calls.empty())
            AddCall(inCourse, lead.calls);
        if (PlaceOfBell(lead.head, touch.observation - 1, stage) == stage) {
            ends.push_back({lead.head, lead.changes, inCourse});
            inCourse.clear();
        }
    }
    if (!leads.leads.empty() && (ends.empty() || ends.back().changes != leads.leads.back().changes))
        ends.push_back({leads.leads.back().head, leads.leads.back().changes, inCourse});
    return ends;
}
