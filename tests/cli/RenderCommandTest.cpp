#include "sound/LoadResult.h"
#include "synth/PealRender.h"
#include "tests/cli/RunCli.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>

namespace {

std::uint32_t Le32(const std::vector<unsigned char>& bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

std::int16_t Sample(const std::vector<unsigned char>& wav, std::size_t k)
{
    return static_cast<std::int16_t>(wav[48 + 2 * k] | wav[48 + 2 * k + 1] << 8);
}

// Checks the 48-byte header of a mono 16-bit file and returns its sample count.
std::size_t MonoSamples(const std::vector<unsigned char>& wav, std::uint32_t rate)
{
    EXPECT_GE(wav.size(), 48u);
    if (wav.size() < 48)
        return 0;
    EXPECT_EQ(wav[22], 1) << "mono";
    EXPECT_EQ(Le32(wav, 24), rate);
    EXPECT_EQ(wav[34], 16) << "16-bit";
    EXPECT_EQ(Le32(wav, 44), wav.size() - 48);
    return (wav.size() - 48) / 2;
}

std::string CorpusFile(const std::string& name)
{
    return std::string(CARILLIX_SOUND_CORPUS) + "/" + name;
}

class RenderCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        demo = new TempFolder;
        ASSERT_EQ(RunCli("demo-bells " + demo->Path("bells")).status, 0);
    }
    static void TearDownTestSuite() { delete demo; }

    // The first n demo bell files, as arguments.
    static std::string DemoFiles(int n)
    {
        std::string files;
        for (int b = 1; b <= n; ++b)
            files += demo->Path("bells/bell" + std::string(b < 10 ? "0" : "") + std::to_string(b) + ".wav ");
        return files;
    }

    static TempFolder* demo;
    TempFolder folder;
};
TempFolder* RenderCommand::demo = nullptr;

TEST_F(RenderCommand, DemoBellsAreSixteenTwoSecondBellsAtMinusThreeDecibels)
{
    ASSERT_EQ(demo->Names(), std::vector<std::string>{"bells"});
    for (int b = 1; b <= 16; ++b) {
        const auto wav =
            ReadBytes(demo->Path("bells/bell" + std::string(b < 10 ? "0" : "") + std::to_string(b) + ".wav"));
        ASSERT_EQ(MonoSamples(wav, 44100), 88200u) << "bell " << b;
        std::int32_t peak = 0;
        for (std::size_t k = 0; k < 88200; ++k)
            peak = std::max<std::int32_t>(peak, std::abs(Sample(wav, k)));
        EXPECT_NEAR(peak, 23197, 2) << "bell " << b;
        EXPECT_EQ(Sample(wav, 88199), 0) << "bell " << b << " ends at rest";
    }
    const CliRun again = RunCli("demo-bells " + folder.Path("again"));
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(again.out.empty() && again.err.empty());
    EXPECT_EQ(ReadBytes(folder.Path("again/bell07.wav")), ReadBytes(demo->Path("bells/bell07.wav")));
}

TEST_F(RenderCommand, RendersTheRequestedLengthScaledOnThePreRoll)
{
    const CliRun run = RunCli("render --demo-bells --bells 8 --style grandsire --length 12 -o " + folder.Path("p.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.out.empty());
    EXPECT_TRUE(run.err.empty()) << "no progress bar when stderr is not a terminal";
    const auto wav = ReadBytes(folder.Path("p.wav"));
    ASSERT_EQ(MonoSamples(wav, 44100), 12u * 44100);
    std::int32_t preRollPeak = 0;
    for (std::size_t k = 0; k < 9 * 44100; ++k)
        preRollPeak = std::max<std::int32_t>(preRollPeak, std::abs(Sample(wav, k)));
    EXPECT_GE(preRollPeak, 23999);
    EXPECT_LE(preRollPeak, 24000);
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"p.wav"});
}

TEST_F(RenderCommand, BellFilesRingLikeTheBuiltInBellsAndTheSeedRepeats)
{
    const std::string options = " --bells 6 --style treble-bob --peal-speed 2h45 --striking-error 30 --length 10";
    ASSERT_EQ(RunCli("render" + options + " " + DemoFiles(6) + "-o " + folder.Path("files.wav")).status, 0);
    ASSERT_EQ(RunCli("render" + options + " --demo-bells -o " + folder.Path("demo.wav")).status, 0);
    ASSERT_EQ(RunCli("render" + options + " --demo-bells --seed 1 -o " + folder.Path("seed1.wav")).status, 0);
    ASSERT_EQ(RunCli("render" + options + " --demo-bells --seed=2 -o " + folder.Path("seed2.wav")).status, 0);
    const auto files = ReadBytes(folder.Path("files.wav"));
    EXPECT_EQ(MonoSamples(files, 44100), 441000u);
    EXPECT_EQ(files, ReadBytes(folder.Path("demo.wav")));
    EXPECT_EQ(files, ReadBytes(folder.Path("seed1.wav"))) << "seed 1 is the default";
    EXPECT_NE(files, ReadBytes(folder.Path("seed2.wav")));
}

TEST_F(RenderCommand, FlacAndOggBellsRingAsTheirWavSourcesDo)
{
    const auto render = [&](std::initializer_list<const char*> bells, const std::string& out) {
        std::string files;
        for (const char* name : bells)
            files += std::string(CARILLIX_DECODE_CORPUS) + "/" + name + " ";
        EXPECT_EQ(RunCli("render --bells 5 " + files + "-o " + folder.Path(out)).status, 0) << out;
        return ReadBytes(folder.Path(out));
    };
    const auto wav =
        render({"ref_44100.wav", "ref_44100.wav", "ref_44100.wav", "ref_44100.wav", "ogg_stereo_44100.ogg"}, "wav.wav");
    EXPECT_EQ(MonoSamples(wav, 44100), 441000u);
    EXPECT_EQ(render({"flac_44100.flac", "flac24_44100.Flac", "flac_unknown_length.flac", "flac_44100.flac",
                      "ogg_stereo_44100.ogg"},
                     "flac.wav"),
              wav);
}

// The application's text, then what the command line knows: the range, the
// bells needed and given, the rates that differ.
TEST_F(RenderCommand, RefusalsPrintTheApplicationsTextWithWhatToChangeAndWriteNothing)
{
    struct Case {
        std::string arguments;
        std::string text;
    };
    const std::string out = " -o " + folder.Path("never.wav");
    const std::string missing = folder.Path("missing.wav");
    const std::string hugeRate = CorpusFile("rate_huge.wav") + " ";  // 4294967295 samples a second
    const std::string lengths = ": give 10 to 700 seconds, or --length touch)";
    for (const Case& c : {
             Case{"render --demo-bells --length 9" + out, std::string(kLengthRefusal) + " (--length 9" + lengths},
             Case{"render --demo-bells --length 701" + out, std::string(kLengthRefusal) + " (--length 701" + lengths},
             Case{"render --bells 8 " + DemoFiles(7) + out,
                  "load more files! (8 bells ring and 7 bell files are given; --bells chooses how many ring)"},
             Case{"render " + out,
                  "load more files! (10 bells ring and 0 bell files are given; --bells chooses how many ring)"},
             Case{"render --method \"Grandsire Triples\" " + DemoFiles(6) + out,
                  "load more files! (Grandsire Triples rings on 8 bells, its 7 and a cover bell, as odd stages ring, "
                  "and 6 bell files are given; --bells 7 rings it without the cover)"},
             Case{"render --method \"Plain Bob Minor\" --bells 8 " + DemoFiles(1) + out,
                  "load more files! (Plain Bob Minor rings on 8 bells and 1 bell file is given; --bells chooses how "
                  "many ring, from 6 to 16)"},
             Case{"render --bells 5 " + DemoFiles(4) + CorpusFile("stereo16_48000.wav") + out,
                  "all files must have same sample rate (" + CorpusFile("stereo16_48000.wav") +
                      " is at 48000 Hz, the bells before it at 44100 Hz)"},
             Case{"render " + DemoFiles(2) + missing + out, missing + ": " + LoadResultText(LoadOpenFailed)},
             Case{"render --bells 5 " + hugeRate + hugeRate + hugeRate + hugeRate + hugeRate + out,
                  kTooManySamplesRefusal},
         }) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.status, 1) << c.arguments;
        EXPECT_EQ(run.err, c.text + "\n") << c.arguments;
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_TRUE(folder.Names().empty());
}

TEST_F(RenderCommand, BadUsageExitsWithTwo)
{
    const std::string out = " -o " + folder.Path("never.wav");
    for (const std::string& arguments : std::vector<std::string>{
             "render --demo-bells --bells 7" + out, "render --demo-bells --style bob" + out,
             "render --demo-bells --peal-speed 5h01" + out, "render --demo-bells --striking-error 101" + out,
             "render --demo-bells --striking-error -1" + out, "render --demo-bells --length ten" + out,
             "render --demo-bells --seed -1" + out, "render --demo-bells --loud" + out, "render --demo-bells",
             "render --demo-bells " + DemoFiles(5) + out, "render " + DemoFiles(16) + DemoFiles(1) + out, "demo-bells",
             "demo-bells a b"}) {
        const CliRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err.find("usage"), std::string::npos) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
    }
    EXPECT_TRUE(folder.Names().empty());
    EXPECT_EQ(RunCli("render --help").status, 0);
    EXPECT_NE(RunCli("--help").out.find("demo-bells"), std::string::npos);
}

TEST_F(RenderCommand, DemoBellsIntoAnUnusableFolderFails)
{
    WriteBytes(folder.Path("file"), {1, 2, 3});
    const CliRun run = RunCli("demo-bells " + folder.Path("file"));
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(ReadBytes(folder.Path("file")), (std::vector<unsigned char>{1, 2, 3}));
}

}  // namespace
