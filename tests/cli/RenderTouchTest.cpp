#include "ringing/Row.h"
#include "sound/SoundFileWriter.h"
#include "tests/cli/RenderedFiles.h"
#include "tests/cli/RunCli.h"
#include "tests/synth/PlainRenderPeal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr std::uint32_t kRate = 8000;

class RenderTouch : public ::testing::Test {
protected:
    // Sixteen short bells at kRate, each a decaying tone of its own, as files
    // and as the records they load into.
    void SetUp() override
    {
        for (int b = 0; b < kMaxBells; ++b) {
            CSoundBuffer& bell = bells[static_cast<std::size_t>(b)];
            ASSERT_TRUE(bell.InitPcm16(kRate, 4000, 16));
            for (std::int32_t k = 0; k < 4000; ++k)
                bell.samples[k] =
                    static_cast<std::int16_t>(20000 * std::exp(-k / 800.0) * std::sin(k * (0.2 + 0.03 * b)));
            const std::string path = folder.Path("bell" + std::to_string(b) + ".wav");
            ASSERT_TRUE(SaveWavTo(bell, path));
            bell.onset = bell.FindOnset();  // as loading finds it
            files += " " + path;
        }
    }

    std::array<CSoundBuffer, kMaxBells> bells;
    std::string files;
    TempFolder folder;
};

// Each row of a timing file, in ringers' symbols, by row number.
std::map<std::int32_t, std::string> RowsOf(const std::vector<TimingLine>& timing, int bells)
{
    std::map<std::int32_t, std::string> rows;
    for (const TimingLine& line : timing) {
        std::string& row = rows[line.blow.row];
        row.resize(static_cast<std::size_t>(bells), '?');
        row[static_cast<std::size_t>(line.blow.place)] = kBellSymbols[static_cast<std::size_t>(line.blow.bell)];
    }
    return rows;
}

// A plain course of Cambridge Surprise Sixteen, 35 minutes of sound and so
// written as it renders: every row that `rows` prints, four rows of rounds,
// then a fade over rounds alone; the sound is the timing file's blows mixed
// by the per-sample reference, sample for sample.
TEST_F(RenderTouch, TheWholeCourseIsRungThenRoundsAndTheFadeAndTheFileHoldsItAll)
{
    const std::string method = "--method \"Cambridge Surprise Sixteen\"";
    const CliRun rows = RunCli("rows " + method);
    ASSERT_EQ(rows.status, 0);
    const std::vector<std::string> course = rows.Lines();
    ASSERT_EQ(course.size(), 964u) << "four rows of rounds and 960 changes";

    const CliRun run = RunCli("render " + method + " --length touch --striking-error 0 --timing " +
                              folder.Path("t.csv") + files + " -o " + folder.Path("c.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    const auto timing = ReadTiming(folder.Path("t.csv"));
    const auto rung = RowsOf(timing, 16);
    for (std::size_t r = 0; r < course.size() + 4; ++r)
        EXPECT_EQ(rung.at(static_cast<std::int32_t>(r)), r < course.size() ? course[r] : course[0]) << "row " << r;

    // 16 bells at 8000 Hz and 3h00: strike interval 1050, handstroke gap 945.
    const std::int64_t endRow = 964 + 4;
    const std::int64_t fade = 5 * kRate;
    const std::int64_t total = endRow * 16 * 1050 + endRow / 2 * 945 + fade;
    const auto wav = WavSamples(folder.Path("c.wav"));
    ASSERT_EQ(static_cast<std::int64_t>(wav.size()), total);
    for (const TimingLine& line : timing) {
        EXPECT_EQ(line.blow.ideal, (line.blow.row * 16 + line.blow.place) * 1050 + line.blow.row / 2 * 945);
        if (line.blow.strike >= total - fade) {
            EXPECT_GE(line.blow.row, endRow) << "only rounds in the fade";
        }
    }

    std::vector<Blow> blows;
    for (const TimingLine& line : timing)
        blows.push_back(line.blow);
    const std::vector<std::int16_t> mixed = PlainMixBlows(bells.data(), 16, static_cast<std::int32_t>(total), 9 * kRate,
                                                          static_cast<std::int32_t>(fade), blows);
    const auto difference = std::mismatch(wav.begin(), wav.end(), mixed.begin());
    EXPECT_TRUE(difference.first == wav.end()) << "first at sample " << (difference.first - wav.begin());
}

TEST_F(RenderTouch, RoundsAloneRingEightRowsAndTheFade)
{
    const CliRun run = RunCli("render --style home --bells 6 --length touch --striking-error 0 --timing " +
                              folder.Path("t.csv") + files + " -o " + folder.Path("h.wav"));
    ASSERT_EQ(run.status, 0) << run.err;
    // Six bells at 8000 Hz and 3h00: strike interval and handstroke gap 2658.
    EXPECT_EQ(WavSamples(folder.Path("h.wav")).size(), 8u * 6 * 2658 + 4 * 2658 + 5 * kRate);
    const auto rows = RowsOf(ReadTiming(folder.Path("t.csv")), 6);
    for (std::int32_t r = 0; r < 8; ++r)
        EXPECT_EQ(rows.at(r), "123456") << "row " << r;
}

TEST_F(RenderTouch, AnyPealSpeedFrom1h30To5h00ScalesTheRowsAsTheListedOnesDo)
{
    const std::string common = " --bells 10 --style grandsire --length 10 --striking-error 0" + files;
    ASSERT_EQ(RunCli("render --peal-speed 2h45" + common + " -o " + folder.Path("a.wav")).status, 0);
    ASSERT_EQ(RunCli("render --peal-speed \"2h 45\"" + common + " -o " + folder.Path("b.wav")).status, 0);
    EXPECT_EQ(ReadBytes(folder.Path("a.wav")), ReadBytes(folder.Path("b.wav")));

    // 2h20 on ten bells: 8000 * 8400 / 2500 / 20.8 = 1292.3 samples a strike, a gap of 0.8 of that.
    ASSERT_EQ(
        RunCli("render --peal-speed 2h20 --timing " + folder.Path("t.csv") + common + " -o " + folder.Path("c.wav"))
            .status,
        0);
    for (const TimingLine& line : ReadTiming(folder.Path("t.csv")))
        EXPECT_EQ(line.blow.ideal, (line.blow.row * 10 + line.blow.place) * 1292 + line.blow.row / 2 * 1033);

    for (const std::string speed : {"1h30", "5h00", "3h"})
        EXPECT_EQ(RunCli("render --peal-speed " + speed + common + " -o " + folder.Path("y.wav")).status, 0) << speed;
    for (const std::string speed :
         {"1h29", "5h01", "6h", "1h00", "2h60", "2h5", "h30", "\"2h  45\"", "2:45", "2h45m"}) {
        const CliRun refused = RunCli("render --peal-speed " + speed + common + " -o " + folder.Path("x.wav"));
        EXPECT_EQ(refused.status, 2) << speed;
        EXPECT_NE(refused.err.find("--peal-speed must be a time from 1h30 to 5h00"), std::string::npos) << speed;
    }
    for (const std::string lengths : {"--length touch --length 60", "--length 60 --length touch", "--length tuch"}) {
        const CliRun refused = RunCli("render --demo-bells " + lengths + " -o " + folder.Path("x.wav"));
        EXPECT_EQ(refused.status, 2) << lengths;
        EXPECT_NE(refused.err.find("--length"), std::string::npos) << lengths;
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path("x.wav")));
}

}  // namespace
