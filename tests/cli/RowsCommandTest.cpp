#include "tests/cli/RunCli.h"

#include <gtest/gtest.h>

namespace {

TEST(RowsCommand, GrandsireOnSixPrintsTheWholeTouch)
{
    const CliRun run = RunCli("rows --bells 6 --style grandsire");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = run.Lines();
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines.front(), "123456");
    EXPECT_EQ(lines[4], "213546");  // 36 on six bells
    EXPECT_EQ(lines.back(), "123456");
    EXPECT_TRUE(run.err.empty());
}

TEST(RowsCommand, LineCountsFollowTheComeHomeRows)
{
    EXPECT_EQ(RunCli("rows --bells 16 --style principle").Lines().size(), 420u);
    EXPECT_EQ(RunCli("rows --bells 16 --style treble-bob").Lines().size(), 132u);
    EXPECT_EQ(RunCli("rows --bells 5 --style treble-bob").Lines().size(), 44u);
    EXPECT_EQ(RunCli("rows --style stedman").Lines().size(), 112u);
}

TEST(RowsCommand, SixteenBellsUseAllSymbols)
{
    const auto lines = RunCli("rows --bells 16 --style stedman").Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "1234567890ETABCD");
}

TEST(RowsCommand, HomePrintsTheFourOpeningRows)
{
    const CliRun run = RunCli("rows --bells 8");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.Lines(), (std::vector<std::string>(4, "12345678")));
}

TEST(RowsCommand, PrincipleBelowSixteenRingsStedmanAndSaysSo)
{
    const CliRun principle = RunCli("rows --bells 10 --style principle");
    EXPECT_EQ(principle.status, 0);
    EXPECT_EQ(principle.out, RunCli("rows --bells 10 --style stedman").out);
    EXPECT_NE(principle.err.find("stedman"), std::string::npos);
}

TEST(RowsCommand, BadUsageExitsWithTwo)
{
    for (const char* arguments :
         {"rows --bells 7", "rows --style surprise", "rows --colour red", "rows --bells", "rows extra", "ring", ""}) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("usage"), std::string::npos) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
    }
}

TEST(RowsCommand, HelpGoesToStdout)
{
    EXPECT_EQ(RunCli("--help").status, 0);
    const CliRun rows = RunCli("rows --help");
    EXPECT_EQ(rows.status, 0);
    EXPECT_NE(rows.out.find("--style"), std::string::npos);
}

}  // namespace
