#include "tests/cli/RunCli.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

TEST(ProveCommand, LengthTruthCallsAndLeadHeads)
{
    const CliRun run = RunCli("prove --method \"Plain Bob Major\" --calling 3H");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // Every lead head, a plain lead's alone; the course ends below show the
    // lines above them and a called lead's.
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 2u + 21u);
    EXPECT_EQ(lines[2], "13527486");
    EXPECT_EQ(RunCli("prove --method \"Plain Bob Major\" --calling 3H --course-ends").out,
              "336 changes, true\ncalls: H H H\n14235678  H\n13425678  H\n12345678  H\n");
    // The same touch called by letters, lead by lead.
    EXPECT_EQ(RunCli("rows --method \"Plain Bob Major\" --calls ppppppb").out,
              RunCli("rows --method \"Plain Bob Major\" --calling \"H H H\"").out);
    EXPECT_EQ(RunCli("prove --place-notation -16-16-16,12 --stage 6 --bob 14 --single 1234 --calling \"H sH\" "
                     "--parts 2 --course-ends")
                  .out,
              "240 changes, true\ncalls: H sH H sH\n142356  H\n143256  sH\n124356  H\n123456  sH\n");

    const CliRun falseTouch = RunCli("prove --method \"Plain Bob Minor\" --calls bs");
    EXPECT_EQ(falseTouch.status, 0);
    EXPECT_EQ(falseTouch.Lines().at(0), "108 changes, false (36 rows repeat)");
    EXPECT_EQ(falseTouch.err, "") << "the first line says it";
}

TEST(ProveCommand, RefusalsAndWarnings)
{
    const CliRun early = RunCli("prove --method \"Plain Bob Major\" --calling H --parts 6");
    EXPECT_EQ(early.status, 0);
    EXPECT_EQ(early.err,
              "warning: Plain Bob Major: the touch comes round after 336 changes, with 3 of the calling's 6 calls "
              "made\n");
    const CliRun never = RunCli("prove --method \"Plain Bob Major\" --calling \"H I\"");
    EXPECT_EQ(never.status, 1);
    EXPECT_TRUE(never.out.empty());
    EXPECT_EQ(never.err,
              "Plain Bob Major: the touch never comes round: after the last call, plain leads repeat every "
              "112 changes without reaching rounds\n");

    struct Case {
        const char* arguments;
        int status;
        const char* message;
    };
    for (const Case& c : {
             Case{"--method \"Stedman Triples\" --calling H", 1,
                  "Stedman Triples is called at six ends: give its calls one by one (p, b, s), not by calling "
                  "positions\n"},
             Case{"--method \"Plain Bob Major\" --calling \"W h\"", 2,
                  "carillix-cli prove: calling word 2, 'h': unknown position 'h'; positions are H W M I B O T F V X "
                  "S E N, in capitals\n"},
             Case{"--method \"Plain Bob Major\" --calling H --parts 0", 2,
                  "carillix-cli prove: --parts must be a whole number from 1 to 1000000\n"},
             Case{"--method \"Plain Bob Major\" --calling H --observation 9", 2,
                  "carillix-cli prove: --observation must be a bell from 1 to 8, the stage\n"},
             Case{"--method \"Plain Bob Major\" --calls b --calling H", 2,
                  "carillix-cli prove: give --calls or --calling, not both\n"},
             Case{"--method \"Plain Bob Major\" --parts 2", 2,
                  "carillix-cli prove: --parts and --observation go with --calling\n"},
             Case{"--course-ends", 2, "carillix-cli prove: give the method with --method or --place-notation\n"},
         }) {
        const CliRun run = RunCli(std::string("prove ") + c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.err.substr(0, run.err.find("usage:")), c.message) << c.arguments;
        EXPECT_TRUE(run.out.empty()) << c.arguments;
    }
}

TEST(ProveCommand, TheLibraryAtItsDefaultPlaceOrNamed)
{
    TempFolder data;
    std::string home = data.Path("");
    home.pop_back();
    std::filesystem::create_directories(data.Path("carillix"));
    std::ofstream(data.Path("carillix/methods.xml"))
        << "<collection><methodSet><properties><stage>8</stage></properties>\n"
           "<method><title>Ashby Surprise Major</title><notation>x38x14x1258x36x14x58x16x78,12</notation></method>"
           "\n</methodSet></collection>\n";
    const CliRun found = RunCli("prove --method \"ashby surprise major\" --calling 3H --course-ends", home);
    EXPECT_EQ(found.status, 0) << found.err;
    EXPECT_EQ(found.Lines().at(0), "672 changes, true") << "bob 14 and single 1234 at its 12 lead end";
    EXPECT_EQ(RunCli("prove --method \"Ashby Surprise Major\"").status, 2) << "no library at the default place";
    EXPECT_EQ(RunCli("prove --method \"Ashby Surprise Major\" --library " + data.Path("carillix/methods.xml")).status,
              0);
    const CliRun listed = RunCli("methods --search ashby", home);
    EXPECT_EQ(listed.Lines().size(), 3u);
    EXPECT_EQ(listed.Lines().back(), "listed 1 of 60 methods: 59 built-in and 1 from " +
                                         data.Path("carillix/methods.xml") + " (0 above 16 bells skipped)");

    std::ofstream(data.Path("broken.xml")) << "<collection>\n<methodSet>\n</collection>\n";
    for (const char* command : {"methods", "rows --method \"Plain Bob Minor\"", "prove --method \"Plain Bob Minor\""}) {
        const CliRun broken = RunCli(std::string(command) + " --library " + data.Path("broken.xml"));
        EXPECT_EQ(broken.status, 1) << command;
        EXPECT_EQ(broken.err, "method library " + data.Path("broken.xml") + ": line 3: mismatched tag\n");
        EXPECT_TRUE(broken.out.empty()) << command;
    }
}

}  // namespace
