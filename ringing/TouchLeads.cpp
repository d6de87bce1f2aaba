#include "ringing/TouchLeads.h"

#include "ringing/CallingPositions.h"
#include "ringing/TouchStepper.h"

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
    for (std::int64_t change = 1; change <= changes; ++change) {
        stepper.Step(row);
        const std::int64_t leadPosition = (change - 1) % leadSize + 1;
        for (const int end : touch.callEnds) {
            if (end != leadPosition)
                continue;
            const char letter = CallLetter(touch, callIndex++);
            if (letter == 'p')
                continue;
            const int place = PlaceOfBell(row, touch.observation - 1, stage);
            const std::string name = CallName(letter, place, stage, letter == 'b' ? bobSeconds : singleSeconds);
            AddCall(inLead, name);
            AddCall(record.calls, name);
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
    return ends;
}
