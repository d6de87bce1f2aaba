#include "tests/cli/RunCli.h"
#include "tests/sound/DecodeCorpus.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

namespace {

std::string CorpusFile(const std::string& name)
{
    return std::string(CARILLIX_SOUND_CORPUS) + "/" + name;
}

TEST(ImportCommand, WritesTheBellAsMono16AndPrintsItsNumbers)
{
    TempFolder folder;
    const CliRun run = RunCli("import " + CorpusFile("stereo16_48000.wav") + " -o " + folder.Path("bell.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "rate=48000 samples=306 onset=120\n");
    EXPECT_TRUE(run.err.empty());
    const auto bytes = ReadBytes(folder.Path("bell.wav"));
    ASSERT_EQ(bytes.size(), 48u + 2 * 306);
    EXPECT_EQ(bytes[22], 1);  // one channel
    EXPECT_EQ(bytes[34], 16);
}

TEST(ImportCommand, MonoSixteenBitInputIsCopiedSampleForSample)
{
    TempFolder folder;
    const CliRun run = RunCli("import " + CorpusFile("mono16_44100.wav") + " --output=" + folder.Path("o.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "rate=44100 samples=1000 onset=500\n");
    const auto in = ReadBytes(CorpusFile("mono16_44100.wav"));
    const auto out = ReadBytes(folder.Path("o.wav"));
    ASSERT_EQ(out.size(), in.size() + 4);  // a 20-byte format body instead of 16
    EXPECT_TRUE(std::equal(in.begin() + 44, in.end(), out.begin() + 48));
}

TEST(ImportCommand, TheLastOutputOptionGivenCounts)
{
    for (const auto& [first, last] : {std::pair{"-o ", "--output "}, std::pair{"--output ", "-o "},
                                      std::pair{"--output=", "-o "}, std::pair{"-o ", "-o "}}) {
        TempFolder folder;
        const std::string options = first + folder.Path("first.wav") + " " + last + folder.Path("last.wav");
        EXPECT_EQ(RunCli("import " + CorpusFile("mono8_8000.wav") + " " + options).status, 0) << options;
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"last.wav"}) << options;
    }
}

TEST(ImportCommand, FailuresSayWhyAndWriteNothing)
{
    TempFolder folder;
    struct Case {
        std::string arguments;
        std::string err;
    };
    for (const Case& c : {
             Case{"import " + CorpusFile("avi.wav") + " -o " + folder.Path("a.wav"),
                  CorpusFile("avi.wav") + ": Not a valid .wav file!\n"},
             Case{"import " + CorpusFile("nothing.wav") + " -o " + folder.Path("a.wav"),
                  CorpusFile("nothing.wav") + ": Failed to open file!\n"},
             Case{"import " + CorpusFile("mono24.wav") + " -o " + folder.Path("a.wav"),
                  CorpusFile("mono24.wav") + ": Format not supported!\n"},
             Case{"import " + CorpusFile("mono8_8000.wav") + " -o " + folder.Path("no/a.wav"),
                  "Error writing file! (" + folder.Path("no/a.wav") + ": No such file or directory)\n"},
         }) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.err, c.err);
        EXPECT_TRUE(run.out.empty());
        EXPECT_TRUE(folder.Names().empty());
    }
}

TEST(ImportCommand, LoadsEveryCompressedFileThatShouldLoadAndRefusesTheRest)
{
    TempFolder folder;
    for (const DecodeCorpusEntry& e : kDecodeCorpus) {
        SCOPED_TRACE(e.file);
        const std::string path = std::string(CARILLIX_DECODE_CORPUS) + "/" + e.file;
        const CliRun run = RunCli("import " + path + " -o " + folder.Path("bell.wav"));
        if (e.code == LoadOK) {
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.out, "rate=" + std::to_string(e.rate) + " samples=" + std::to_string(e.sampleCount) +
                                   " onset=" + std::to_string(e.onset) + "\n");
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(ReadBytes(folder.Path("bell.wav")).size(), 48u + 2 * e.sampleCount);
        } else {
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err, path + ": " + LoadResultText(e.code) + "\n");
            EXPECT_EQ(run.out, "");
        }
    }
    EXPECT_EQ(LoadResultText(LoadConversionError), "Error during conversion!");
    EXPECT_EQ(LoadResultText(LoadConversionImpossible), "Conversion not possible!");
    EXPECT_EQ(LoadResultText(LoadBadMp3), "Not a valid mp3 file!");
}

TEST(ImportCommand, BadUsageExitsWithTwo)
{
    const std::string bell = CorpusFile("mono8_8000.wav");
    const std::vector<std::string> usages{
        "import",
        "import " + bell,
        "import -o /tmp/x.wav",
        "import " + bell + " " + bell + " -o /tmp/x.wav",
        "import " + bell + " --rate 8000 -o /tmp/x.wav",
        "import " + bell + " -o",
    };
    for (const std::string& arguments : usages) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("usage: carillix-cli import"), std::string::npos) << arguments;
        EXPECT_TRUE(run.out.empty());
    }
    const CliRun help = RunCli("import --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("-o"), std::string::npos);
}

}  // namespace
