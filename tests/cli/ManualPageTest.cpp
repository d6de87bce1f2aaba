// The manual page keeps up with the program: every command that
// `carillix-cli --help` lists has an entry of its own, and every option that a
// command's --help prints is named in the page.
#include "tests/cli/RunCli.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The page's source with roff's escaped hyphens (`\-`) as plain ones.
std::string ManualPage()
{
    std::ifstream in(CARILLIX_MANUAL_PAGE);
    std::ostringstream text;
    text << in.rdbuf();
    return std::regex_replace(text.str(), std::regex(R"(\\-)"), "-");
}

// The commands listed under "Commands:", each at the start of an indented
// line (a description may go on over lines indented further), up to a blank line.
std::vector<std::string> Commands(const std::string& help)
{
    std::vector<std::string> commands;
    std::istringstream in(help.substr(help.find("Commands:\n")));
    std::string line;
    std::getline(in, line);
    const std::regex entry(R"(^  ([a-z][a-z-]*)  )");
    for (std::smatch match; std::getline(in, line) && !line.empty();)
        if (std::regex_search(line, match, entry))
            commands.push_back(match[1]);
    return commands;
}

// Every option a help text names: `-x` or `--long-name` at the start of a word.
std::set<std::string> Options(const std::string& help)
{
    std::set<std::string> options{"--help"};
    const std::regex option(R"((^|[\s\[(|,])(--?[a-z][a-z0-9-]*))");
    for (std::sregex_iterator it(help.begin(), help.end(), option), end; it != end; ++it)
        options.insert((*it)[2]);
    return options;
}

bool NamesOption(const std::string& page, const std::string& option)
{
    return std::regex_search(page, std::regex("(^|[^a-z0-9-])" + option + "($|[^a-z0-9-])"));
}

TEST(ManualPage, HasAnEntryForEveryCommandAndNamesEveryOption)
{
    const std::string page = ManualPage();
    ASSERT_FALSE(page.empty()) << CARILLIX_MANUAL_PAGE;
    const CliRun overview = RunCli("--help");
    ASSERT_EQ(overview.status, 0);
    const std::vector<std::string> commands = Commands(overview.out);
    ASSERT_GE(commands.size(), 5u) << overview.out;

    for (const std::string& command : commands) {
        EXPECT_NE(page.find("\n.TP\n.B " + command + "\n"), std::string::npos)
            << "the manual page has no entry for the command " << command;
        const CliRun help = RunCli(command + " --help");
        ASSERT_EQ(help.status, 0) << command;
        for (const std::string& option : Options(help.out))
            EXPECT_TRUE(NamesOption(page, option)) << "the manual page does not name " << command << " " << option;
    }
}

TEST(ManualPage, FindsTheOptionsOfAHelpText)
{
    EXPECT_EQ(Options("  -o, --output FILE   16-bit, -1000..1000 (see --rms-ms)\n  [--odd-bell N:MS] 'carillix-cli x'"),
              (std::set<std::string>{"--help", "-o", "--output", "--rms-ms", "--odd-bell"}));
    EXPECT_TRUE(NamesOption(".BI --bells \" N\"", "--bells"));
    EXPECT_FALSE(NamesOption("--bells-of-st-mary", "--bells"));
}

}  // namespace
