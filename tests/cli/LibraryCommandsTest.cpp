#include "tests/cli/MethodListing.h"
#include "tests/ringing/LibraryGenerator.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace {

// The titles a listing shows, in any order.
std::set<std::string> TitleSet(const CliRun& listing)
{
    const std::vector<std::string> titles = ListedTitles(listing);
    return {titles.begin(), titles.end()};
}

class LibraryCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new TempFolder;
        generated = new GeneratedLibrary(GenerateLibrary(26000, 7));
        std::ofstream(folder->Path("methods.xml")) << generated->xml;
    }
    static void TearDownTestSuite()
    {
        delete generated;
        delete folder;
    }
    static std::string Library() { return " --library " + folder->Path("methods.xml"); }

    static inline TempFolder* folder = nullptr;
    static inline GeneratedLibrary* generated = nullptr;
};

TEST_F(LibraryCommands, SearchListsExactlyTheTitlesThatContainTheText)
{
    for (const std::string text : {"ash", "SURPRISE MAJOR", "'s ", "bob min", "e", "zzz", "Cambridge"}) {
        std::set<std::string> expected = TitleSet(RunCli("methods --search \"" + text + "\""));
        for (const GeneratedMethod& method : generated->methods)
            if (ContainsIgnoringCase(method.title, text))
                expected.insert(method.title);
        const CliRun run = RunCli("methods --search \"" + text + "\"" + Library());
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(TitleSet(run), expected) << text;
        EXPECT_EQ(run.Lines().back().rfind("listed " + std::to_string(expected.size()) + " of ", 0), 0u);
    }
    const CliRun all = RunCli("methods" + Library());
    EXPECT_EQ(all.Lines().back(), "listed " + std::to_string(generated->methods.size() + 56) + " of " +
                                      std::to_string(generated->methods.size() + 56) + " methods: 59 built-in and " +
                                      std::to_string(generated->methods.size() - 3) + " from " +
                                      folder->Path("methods.xml") + " (" + std::to_string(generated->aboveSixteen) +
                                      " above 16 bells skipped)");
    std::size_t major = 0;
    for (const std::string& title : ListedTitles(RunCli("methods --stage 8" + Library())))
        major += title.ends_with(" Major") ? 1 : 0;
    EXPECT_GT(major, 1000u);
}

TEST_F(LibraryCommands, TitlesRingAsTheirNotation)
{
    for (std::size_t k = 0; k < generated->methods.size(); k += 2999) {
        const GeneratedMethod& method = generated->methods[k];
        const CliRun byTitle = RunCli("rows --method \"" + AsciiLower(method.title) + "\"" + Library());
        ASSERT_EQ(byTitle.status, 0) << method.title << ": " << byTitle.err;
        const CliRun byNotation =
            RunCli("rows --place-notation '" + method.written + "' --stage " + std::to_string(method.stage));
        EXPECT_EQ(byTitle.out, byNotation.out) << method.title;
    }
    const CliRun unknown = RunCli("rows --method \"Ashby Major\"" + Library());
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("no method is titled 'Ashby Major'; did you mean 'Ashby "), std::string::npos)
        << unknown.err;
}

}  // namespace
