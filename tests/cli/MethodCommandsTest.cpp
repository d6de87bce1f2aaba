#include "tests/cli/RunCli.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace {

// What soxi (from sox; scripts/test installs it) says about a sound file:
// -s samples, -r rate, -c channels.
std::string Soxi(const std::string& flag, const std::string& path)
{
    FILE* pipe = popen(("soxi " + flag + " '" + path + "' 2>/dev/null").c_str(), "r");
    if (pipe == nullptr)
        return "";
    std::string text;
    char buffer[128];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        text += buffer;
    pclose(pipe);
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

bool HaveSoxi()
{
    return std::system("command -v soxi >/dev/null 2>&1") == 0;
}

// In the output of `rows`, line 0 is the first of four rows of rounds and the
// row after change k is on line 3 + k. Counts the different rows among the
// changes before the last.
std::size_t DistinctChanges(const std::vector<std::string>& lines)
{
    return std::set<std::string>(lines.begin() + 4, lines.end() - 1).size();
}

TEST(MethodsCommand, ListsEveryBuiltInMethodWithStageNotationAndCalls)
{
    const CliRun run = RunCli("methods");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 61u) << "a heading, 59 methods and a summary";
    EXPECT_EQ(lines.front().substr(0, 5), "TITLE");
    EXPECT_EQ(lines.back().rfind("listed 59 of 59 methods: 59 built-in; no method library at ", 0), 0u) << lines.back();
    auto line = [&](const std::string& title) {
        for (const std::string& text : lines)
            if (text.starts_with(title + " "))
                return text;
        return std::string();
    };
    const std::string cambridge = line("Cambridge Surprise Major");
    EXPECT_NE(cambridge.find("  8  -38-14-1258-36-14-58-16-78,12 "), std::string::npos) << cambridge;
    EXPECT_TRUE(cambridge.ends_with("lead ends: bob 14, single 1234")) << cambridge;
    EXPECT_TRUE(line("Stedman Triples").ends_with("six ends: bob 5, single 567"));
    EXPECT_TRUE(line("Grandsire Caters").ends_with("lead ends: bob 3.1, single 3.123"));
    EXPECT_TRUE(line("Kent Treble Bob Major").ends_with(" none"));
    EXPECT_NE(line("Bristol Surprise Sixteen").find("  16  "), std::string::npos);
    EXPECT_EQ(RunCli("methods extra").status, 2);
    EXPECT_EQ(RunCli("methods --help").status, 0);
}

TEST(MethodRows, CambridgeSurpriseMajorIsFourRoundsAnd224Changes)
{
    const CliRun run = RunCli("rows --method \"Cambridge Surprise Major\"");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 228u);
    for (std::size_t k : {0u, 1u, 2u, 3u, 227u})
        EXPECT_EQ(lines[k], "12345678") << "line " << k;
    EXPECT_EQ(lines[4], "21436587");
    EXPECT_EQ(lines[3 + 32], "15738264") << "the first lead head";
    EXPECT_EQ(DistinctChanges(lines), 223u) << "a true plain course";
    EXPECT_EQ(RunCli("rows --method \"cambridge surprise MAJOR\"").out, run.out) << "titles ignore case";
    EXPECT_EQ(RunCli("rows --place-notation -38-14-1258-36-14-58-16-78,12 --stage 8").out, run.out);
}

TEST(MethodRows, PlainBobMinorBobbedAtEveryLeadComesRoundAfter36)
{
    const CliRun run = RunCli("rows --method \"Plain Bob Minor\" --calls b");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 40u);
    EXPECT_EQ(lines[3 + 12], "123564") << "4ths made at the bob";
    EXPECT_EQ(lines.back(), "123456");
    EXPECT_EQ(RunCli("rows --method \"Plain Bob Minor\" --calls B").out, run.out);
    EXPECT_EQ(RunCli("rows --method \"Plain Bob Minor\" --calls b --bob 14").out, run.out);
    EXPECT_EQ(RunCli("rows --place-notation -16-16-16,12 --stage 6 --bob 14 --calls b").out, run.out);
}

TEST(MethodRows, OddStagesRingWithACoverAndMoreBellsCoverToo)
{
    const auto triples = RunCli("rows --method \"Grandsire Triples\"").Lines();
    ASSERT_EQ(triples.size(), 74u) << "70 changes";
    for (const std::string& row : triples) {
        ASSERT_EQ(row.size(), 8u);
        EXPECT_EQ(row.back(), '8') << "the tenor behind";
    }
    EXPECT_EQ(triples[4], "21354768");
    EXPECT_EQ(triples[3 + 14], "12537468");
    EXPECT_EQ(RunCli("rows --method \"Grandsire Triples\"").out, RunCli("rows --style grandsire --bells 8").out);

    const auto seven = RunCli("rows --method \"Grandsire Triples\" --bells 7").Lines();
    ASSERT_EQ(seven.size(), 74u);
    EXPECT_EQ(seven[3 + 14], "1253746");

    const auto minor = RunCli("rows --method \"Plain Bob Minor\" --bells 10").Lines();
    ASSERT_EQ(minor.size(), 64u);
    for (const std::string& row : minor)
        EXPECT_EQ(row.substr(6), "7890");
}

TEST(MethodRows, CallsGivenByPlaceNotation)
{
    // Singles (345) at every tenth six end: all 120 rows of five bells.
    const CliRun doubles = RunCli("rows --method \"Stedman Doubles\" --single 345 --calls ppppppppps --bells 5");
    EXPECT_EQ(doubles.status, 0);
    EXPECT_EQ(doubles.err, "");
    const auto extent = doubles.Lines();
    ASSERT_EQ(extent.size(), 124u);
    EXPECT_EQ(DistinctChanges(extent), 119u);
    EXPECT_EQ(std::set<std::string>(extent.begin(), extent.end()).size(), 120u);
}

TEST(MethodRows, AFalseTouchIsRungWithAWarning)
{
    const CliRun run = RunCli("rows --method \"Plain Bob Minor\" --calls bs");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.Lines().size(), 112u);
    EXPECT_EQ(run.err.rfind("warning: Plain Bob Minor: the touch is false: 36 rows come again", 0), 0u) << run.err;
}

TEST(MethodRows, RefusalsExitWithOneAndPrintNoRows)
{
    const std::string neverRound =
        "34789TABCD" + std::string(7138, 'x') + "145890ABCD.125690EBCD.12345670ETCD.1234567890ETAD.1234567890ETAB";
    struct Case {
        std::string arguments;
        std::string message;
    };
    for (const Case& c : {
             Case{"--place-notation -16-1Q,12 --stage 6",
                  "place notation '-16-1Q,12': unknown symbol 'Q' at character 6"},
             Case{"--method \"Stedman Doubles\" --calls sb",
                  "Stedman Doubles has no single of its own; the calling needs one given by place notation"},
             Case{"--method \"Plain Bob Major\" --calls b --bob 1Q", "bob '1Q': unknown symbol 'Q' at character 2"},
             Case{"--place-notation " + neverRound + " --stage 16",
                  "place notation 34789TABCDxxxxxxxxxxxxxxxxxxxxxxxxxxx... on 16: the touch does not come round "
                  "within 1,000,000 changes"},
         }) {
        const CliRun run = RunCli("rows " + c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.err, c.message + "\n") << c.arguments;
        EXPECT_TRUE(run.out.empty()) << c.arguments;
    }
}

TEST(MethodRows, BadUsageExitsWithTwo)
{
    for (const char* arguments : {
             "rows --method Nonesuch",
             "rows --method \"Plain Bob Minor\" --style grandsire",
             "rows --method \"Plain Bob Minor\" --place-notation x16 --stage 6",
             "rows --place-notation x16",
             "rows --place-notation x16 --stage 17",
             "rows --place-notation x16 --stage 2",
             "rows --method \"Plain Bob Minor\" --stage 6",
             "rows --calls b",
             "rows --bob 14",
             "rows --stage 6",
             "rows --method \"Cambridge Surprise Major\" --bells 7",
             "rows --method \"Cambridge Surprise Major\" --bells 17",
             "rows --method \"Cambridge Surprise Major\" --bells eight",
             "rows --method \"Plain Bob Minor\" --calls pbx",
             "rows --method \"Plain Bob Minor\" --calls \"\"",
             "rows --method \"Plain Bob Minor\" --bob \"\"",
             "rows --method",
         }) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("usage"), std::string::npos) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
    }
}

TEST(MethodRows, HelpShowsTheMethodOptions)
{
    for (const char* command : {"rows", "render"}) {
        const CliRun help = RunCli(std::string(command) + " --help");
        EXPECT_EQ(help.status, 0);
        for (const char* option :
             {"--method", "--place-notation", "--stage", "--bells M", "--calls", "--bob", "--single"})
            EXPECT_NE(help.out.find(option), std::string::npos) << command << " " << option;
    }
    const CliRun prove = RunCli("prove --help");
    EXPECT_EQ(prove.out.find("--style"), std::string::npos) << "prove rings nothing, so offers no alternative";
    EXPECT_EQ(prove.out.find("--bells"), std::string::npos);
    EXPECT_EQ(RunCli("prove --method \"Plain Bob Major\" --bells 8").status, 2) << "prove takes no --bells";
    EXPECT_NE(RunCli("--help").out.find("methods"), std::string::npos);
}

class MethodRender : public ::testing::Test {
protected:
    TempFolder folder;
};

TEST_F(MethodRender, AMinuteOfBristolSurpriseMajorWithTheDemoBells)
{
    const std::string path = folder.Path("bristol.wav");
    const CliRun run = RunCli("render --method \"Bristol Surprise Major\" --demo-bells --length 60 -o " + path);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty() && run.err.empty());
    const auto wav = ReadBytes(path);
    ASSERT_EQ(wav.size(), 48u + 2u * 60 * 44100) << "a minute of mono 16-bit samples after the header";
    if (!HaveSoxi())
        GTEST_SKIP() << "soxi (sox) is not installed to decode the file independently";
    EXPECT_EQ(Soxi("-s", path), "2646000");
    EXPECT_EQ(Soxi("-r", path), "44100");
    EXPECT_EQ(Soxi("-c", path), "1");
}

TEST_F(MethodRender, GrandsireTriplesEqualsTheGrandsireStyleOnEightBells)
{
    for (const char* error : {"0", "5"}) {
        const std::string options = std::string(" --demo-bells --striking-error ") + error + " --length 20 -o ";
        ASSERT_EQ(RunCli("render --method \"Grandsire Triples\"" + options + folder.Path("method.wav")).status, 0);
        ASSERT_EQ(RunCli("render --style grandsire --bells 8" + options + folder.Path("style.wav")).status, 0);
        const auto method = ReadBytes(folder.Path("method.wav"));
        EXPECT_EQ(method.size(), 48u + 2u * 20 * 44100);
        EXPECT_TRUE(method == ReadBytes(folder.Path("style.wav"))) << "striking error " << error;
    }
}

TEST_F(MethodRender, AnyNumberOfBellsAndRefusalsLeaveNoFile)
{
    ASSERT_EQ(
        RunCli("render --method \"Plain Bob Doubles\" --bells 7 --demo-bells -o " + folder.Path("seven.wav")).status,
        0);
    EXPECT_EQ(ReadBytes(folder.Path("seven.wav")).size(), 48u + 2u * 10 * 44100);
    EXPECT_EQ(
        RunCli("render --place-notation 3.1 --stage 3 --bells 3 --demo-bells -o " + folder.Path("three.wav")).status,
        0);

    const std::string never = " -o " + folder.Path("never.wav");
    const CliRun refused = RunCli("render --place-notation 3.Q --stage 5 --demo-bells" + never);
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "place notation '3.Q': unknown symbol 'Q' at character 3\n");
    const CliRun usage = RunCli("render --method \"Plain Bob Minor\" --bells 5 --demo-bells" + never);
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"seven.wav", "three.wav"}));
}

}  // namespace
