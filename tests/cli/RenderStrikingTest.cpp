#include "sound/SoundFileWriter.h"
#include "synth/DemoBells.h"
#include "synth/TimingFile.h"
#include "tests/cli/RenderedFiles.h"
#include "tests/cli/RunCli.h"
#include "tests/sound/ReadBack.h"
#include "tests/sound/TempFolder.h"
#include "tests/synth/PlainRenderPeal.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

std::uint64_t Fnv1a(const std::vector<unsigned char>& bytes)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const unsigned char byte : bytes)
        hash = (hash ^ byte) * 0x100000001b3ull;
    return hash;
}

class RenderStriking : public ::testing::Test {
protected:
    std::string Out(const std::string& name) const { return " -o " + folder.Path(name); }
    TempFolder folder;
};

// Mixes the demo bells independently at a timing file's strikes and expects
// the rendered WAV, sample for sample.
void ExpectSoundFollowsTiming(const std::vector<TimingLine>& timing, const std::vector<std::int16_t>& wav,
                              std::int16_t stage, std::int32_t seconds)
{
    std::array<CSoundBuffer, kMaxBells> bells;
    for (int b = 0; b < kMaxBells; ++b)
        ASSERT_TRUE(MakeDemoBell(b, bells[b]));
    std::vector<Blow> blows;
    for (const TimingLine& line : timing)
        blows.push_back(line.blow);
    const std::int32_t total = seconds * 44100;
    const std::vector<std::int16_t> mixed =
        PlainMixBlows(bells.data(), stage, total, 9 * 44100, seconds >= 15 ? 5 * 44100 : 5 * 44100 / 2, blows);
    ASSERT_EQ(wav.size(), mixed.size());
    const auto difference = std::mismatch(wav.begin(), wav.end(), mixed.begin());
    EXPECT_TRUE(difference.first == wav.end()) << "first at sample " << (difference.first - wav.begin());
}

TEST_F(RenderStriking, TheSoundFollowsItsTimingFileExactly)
{
    const std::string odd = " --odd-bell 2:-400 --odd-bell 5:80:back";  // bell 2 passes bell 1
    for (const std::string model : {" --striking-model human --rms-ms 40", " --striking-error 30"}) {
        SCOPED_TRACE(model);
        const CliRun run = RunCli("render --demo-bells --bells 8 --length 20 --seed 3" + model + odd + " --timing " +
                                  folder.Path("t.csv") + Out("p.wav"));
        ASSERT_EQ(run.status, 0) << run.err;
        const auto timing = ReadTiming(folder.Path("t.csv"));
        ASSERT_GT(timing.size(), 70u);
        for (std::size_t k = 1; k < timing.size(); ++k)
            EXPECT_LE(timing[k - 1].blow.strike, timing[k].blow.strike) << "in the order rung";
        // Eight bells at 44100 and 3h00: strike interval 11272, handstroke gap 10144.
        for (const TimingLine& line : timing)
            EXPECT_EQ(line.blow.ideal, (line.blow.row * 8 + line.blow.place) * 11272 + line.blow.row / 2 * 10144);
        const auto clash = std::find_if(timing.begin() + 8, timing.end(), [](const TimingLine& line) {
            return line.blow.bell == 1 && line.blow.place == 1;
        });
        ASSERT_NE(clash, timing.end());
        EXPECT_EQ((clash + 1)->blow.bell, 0) << "bell 2, a place behind bell 1, rings first";
        ExpectSoundFollowsTiming(timing, WavSamples(folder.Path("p.wav")), 8, 20);
    }
}

TEST_F(RenderStriking, UniformRendersAreTheApplicationsBitForBit)
{
    // FNV-1a of the files these commands wrote before the striking models came.
    struct Case {
        std::string arguments;
        std::uint64_t hash;
    };
    for (const Case& c :
         {Case{"--bells 6 --style treble-bob --striking-error 30 --seed 9", 0x5e779a4f8cbf4568ull},
          Case{"--bells 16 --style principle --peal-speed 2h45 --striking-error 100 --seed 4", 0x792ea8f9a0ea1deull}}) {
        SCOPED_TRACE(c.arguments);
        ASSERT_EQ(RunCli("render --demo-bells --length 10 " + c.arguments + Out("a.wav")).status, 0);
        EXPECT_EQ(Fnv1a(ReadBytes(folder.Path("a.wav"))), c.hash);
        ASSERT_EQ(RunCli("render --demo-bells --length 10 --striking-model uniform --timing " + folder.Path("a.csv") +
                         " " + c.arguments + Out("b.wav"))
                      .status,
                  0);
        EXPECT_EQ(ReadBytes(folder.Path("b.wav")), ReadBytes(folder.Path("a.wav")));
    }
}

TEST_F(RenderStriking, AnOddBellIsOffAtItsStrokeOnlyAndTheHumanModelRepeatsBySeed)
{
    ASSERT_EQ(
        RunCli(
            "render --demo-bells --bells 6 --length 30 --striking-error 0 --odd-bell 3:50:back --odd-bell 6:-20:hand "
            "--timing " +
            folder.Path("odd.csv") + Out("odd.wav"))
            .status,
        0);
    int late = 0;
    for (const TimingLine& line : ReadTiming(folder.Path("odd.csv"))) {
        std::int64_t expected = 0;
        if (line.blow.bell == 2 && line.stroke == "back")
            expected = 2205;  // 50 ms at 44100
        if (line.blow.bell == 5 && line.stroke == "hand")
            expected = -882;
        EXPECT_EQ(line.blow.strike - line.blow.ideal, expected)
            << "row " << line.blow.row << " bell " << line.blow.bell + 1;
        late += expected > 0;
    }
    EXPECT_GT(late, 5);

    const std::string human = "render --demo-bells --striking-model human --length 10";
    ASSERT_EQ(RunCli(human + " --seed 5" + Out("s5.wav")).status, 0);
    ASSERT_EQ(RunCli(human + " --seed 5" + Out("s5again.wav")).status, 0);
    ASSERT_EQ(RunCli(human + " --seed 6" + Out("s6.wav")).status, 0);
    ASSERT_EQ(RunCli("render --demo-bells --length 10 --seed 5" + Out("uniform.wav")).status, 0);
    EXPECT_EQ(ReadBytes(folder.Path("s5.wav")), ReadBytes(folder.Path("s5again.wav")));
    EXPECT_NE(ReadBytes(folder.Path("s5.wav")), ReadBytes(folder.Path("s6.wav")));
    EXPECT_NE(ReadBytes(folder.Path("s5.wav")), ReadBytes(folder.Path("uniform.wav")));
}

TEST_F(RenderStriking, EveryFormatIsTheAskedLengthMonoAndFlacIsTheWavExactly)
{
    const std::string render = "render --demo-bells --bells 8 --style grandsire --length 10 --timing ";
    ASSERT_EQ(RunCli(render + folder.Path("wav.csv") + Out("p.wav")).status, 0);
    const auto wav = WavSamples(folder.Path("p.wav"));
    ASSERT_EQ(wav.size(), 441000u);
    const bool ffmpeg = HaveFfmpeg();
    if (!ffmpeg)
        std::fputs("ffmpeg is not installed: files are read back through libsndfile only\n", stderr);
    struct Case {
        std::string name;
        int rate;
    };
    for (const Case& c : {Case{"p.FLAC", 44100}, Case{"p.ogg", 44100}, Case{"p.Opus", 48000}, Case{"p.mp3", 44100}}) {
        SCOPED_TRACE(c.name);
        const CliRun run = RunCli(render + folder.Path(c.name + ".csv") + Out(c.name));
        ASSERT_EQ(run.status, 0) << run.err;
        const SndfileReadBack read = ReadWithSndfile(folder.Path(c.name));
        EXPECT_EQ(read.channels, 1);
        EXPECT_EQ(read.rate, c.rate);
        EXPECT_EQ(read.samples.size(), 10u * c.rate) << "ten seconds";
        if (c.name == "p.FLAC") {
            EXPECT_TRUE(read.samples == wav) << "lossless";
        }

        // The timing file counts samples at the file's own rate.
        const auto reference = ReadTiming(folder.Path("wav.csv"));
        const auto timing = ReadTiming(folder.Path(c.name + ".csv"));
        ASSERT_EQ(timing.size(), reference.size());
        for (std::size_t k = 0; k < timing.size(); ++k)
            ASSERT_EQ(timing[k].blow.strike, std::llround(reference[k].blow.strike * double(c.rate) / 44100)) << k;

        if (!ffmpeg)
            continue;
        const auto decoded = DecodeWithFfmpeg(folder.Path(c.name));
        ASSERT_TRUE(decoded.has_value());
        EXPECT_EQ(decoded->channels, 1);
        EXPECT_EQ(decoded->Frames(), 10u * decoded->rate) << "ten seconds";
        if (c.name == "p.FLAC") {
            EXPECT_TRUE(decoded->samples == wav) << "lossless";
        }
    }
}

TEST_F(RenderStriking, BadStrikingAndOutputOptionsAreRefusedBeforeRendering)
{
    struct Case {
        std::string arguments;
        std::string why;
    };
    const std::string out = Out("never.wav");
    for (const Case& c : {
             Case{"--striking-model people" + out, "--striking-model must be uniform or human"},
             Case{"--rms-ms 30" + out, "--rms-ms is the human model's: add --striking-model human"},
             Case{"--striking-model human --striking-error 5" + out,
                  "--striking-error is the uniform model's; the human model takes --rms-ms"},
             Case{"--striking-model human --rms-ms 201" + out,
                  "--rms-ms must be a number of milliseconds from 0 to 200"},
             Case{"--striking-model human --rms-ms nan" + out,
                  "--rms-ms must be a number of milliseconds from 0 to 200"},
             Case{"--odd-bell 3" + out,
                  "--odd-bell 3: give BELL:MS or BELL:MS:hand or BELL:MS:back, bell 1..16, "
                  "MS -1000..1000"},
             Case{"--odd-bell 0:40" + out,
                  "--odd-bell 0:40: give BELL:MS or BELL:MS:hand or BELL:MS:back, bell "
                  "1..16, MS -1000..1000"},
             Case{"--odd-bell 3:1001" + out,
                  "--odd-bell 3:1001: give BELL:MS or BELL:MS:hand or BELL:MS:back, "
                  "bell 1..16, MS -1000..1000"},
             Case{"--odd-bell 3:40:both" + out,
                  "--odd-bell 3:40:both: give BELL:MS or BELL:MS:hand or "
                  "BELL:MS:back, bell 1..16, MS -1000..1000"},
             Case{"--odd-bell 3:40:hand --odd-bell 3:+20" + out, "--odd-bell 3:+20: bell 3 is given twice"},
             Case{"--bells 8 --odd-bell 9:40" + out, "--odd-bell 9: only 8 bells ring"},
             Case{Out("peal.aiff"), "cannot tell the format of '" + folder.Path("peal.aiff") +
                                        "': name it .wav, .flac, .ogg, .opus or .mp3"},
             Case{Out("peal"),
                  "cannot tell the format of '" + folder.Path("peal") + "': name it .wav, .flac, .ogg, .opus or .mp3"},
             Case{"--timing " + folder.Path("./never.wav") + out, "--timing and -o name the same file"},
         }) {
        const CliRun run = RunCli("render --demo-bells " + c.arguments);
        EXPECT_EQ(run.status, 2) << c.arguments;
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), "carillix-cli render: " + c.why) << c.arguments;
    }
    EXPECT_TRUE(folder.Names().empty());

    // A hand-and-back pair for one bell is two strokes, not a repeat.
    EXPECT_EQ(RunCli("render --demo-bells --odd-bell 3:40:hand --odd-bell 3:-20:back" + out).status, 0);
}

TEST_F(RenderStriking, BellsAtARateFlacCannotHoldAreRefusedBeforeRendering)
{
    std::string files;
    for (int b = 0; b < 5; ++b) {
        CSoundBuffer bell;
        ASSERT_TRUE(bell.InitPcm16(700000, 7000, 16));
        for (std::int32_t k = 0; k < 7000; ++k)
            bell.samples[k] = static_cast<std::int16_t>(k % 100 * 100);
        const std::string path = folder.Path("bell" + std::to_string(b) + ".wav");
        ASSERT_TRUE(SaveWavTo(bell, path));
        files += path + " ";
    }
    const CliRun run = RunCli("render --bells 5 " + files + Out("p.flac"));
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "FLAC holds sample rates up to 655350 Hz; the bells are at 700000 Hz\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("p.flac")));
}

}  // namespace
