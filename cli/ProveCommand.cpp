#include "cli/Args.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/MethodOptions.h"
#include "ringing/RowText.h"
#include "ringing/TouchLeads.h"
#include "ringing/TouchProof.h"

#include <cstdio>
#include <string>

namespace {

constexpr const char* kCommand = "prove";

constexpr const char* kUsage =
    "usage: carillix-cli prove (--method TITLE | --place-notation PN --stage N)\n"
    "                          [--calls STRING | --calling \"WORDS\" [--parts N] [--observation BELL]]\n"
    "                          [--bob PN] [--single PN] [--library FILE] [--course-ends]\n";

constexpr const char* kHelp =
    "Proves a touch without ringing it. The first line is 'N changes, true', or\n"
    "'N changes, false (R rows repeat)' when rows come more than once before rounds;\n"
    "then 'calls:' and the calls made, named by calling positions; then the lead\n"
    "heads, one a line, each with the calls made in its lead. Exit status 0 when the\n"
    "touch comes round, 1 when it does not within 1,000,000 changes.\n"
    "\n"
    "  --course-ends          the course ends (lead heads with the observation bell\n"
    "                         home) with the calls of each course, and the touch's\n"
    "                         last row when it is not one, instead of every lead head\n";

void PrintLeads(const std::vector<LeadRecord>& leads, int stage)
{
    for (const LeadRecord& lead : leads) {
        const std::string row = RowText(lead.head, stage);
        if (lead.calls.empty())
            std::printf("%s\n", row.c_str());
        else
            std::printf("%s  %s\n", row.c_str(), lead.calls.c_str());
    }
}

}  // namespace

int RunProve(int argc, char** argv, int first)
{
    Args args(argc, argv, first);
    args.AddFlag("--course-ends");
    AddTouchOptions(args);
    const std::string help = std::string(kHelp) + TouchOptionsHelp(TouchUse::Prove);
    if (const auto status = ParseCommandLine(args, kCommand, kUsage, help.c_str()))
        return *status;
    if (const auto status = RefuseArguments(args, kCommand, kUsage))
        return *status;
    if (!WantsTouch(args))
        return UsageError(kCommand, "give the method with --method or --place-notation", kUsage);

    std::optional<TouchChoice> choice;
    if (const auto status = ReadTouchOptions(args, kCommand, kUsage, choice, false))
        return *status;
    const Touch& touch = choice->touch;
    const TouchProof& proof = choice->proof;
    std::printf("%s\n", ProofLine(proof).c_str());
    const TouchLeads leads = RecordLeads(touch, proof.changes);
    std::printf("calls: %s\n", leads.calls.empty() ? "none" : leads.calls.c_str());
    PrintLeads(args.Flag("--course-ends") ? CourseEnds(touch, leads) : leads.leads, touch.method.stage);
    return 0;
}
