#include "sound/Resampler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

std::vector<std::int16_t> Sine(double hertz, std::uint32_t rate, std::int64_t count, double amplitude)
{
    std::vector<std::int16_t> samples(static_cast<std::size_t>(count));
    for (std::int64_t k = 0; k < count; ++k)
        samples[static_cast<std::size_t>(k)] =
            static_cast<std::int16_t>(std::lround(amplitude * std::sin(2 * std::numbers::pi * hertz * k / rate)));
    return samples;
}

// Streams `input` through a resampler in blocks of `block` samples, pulling
// what each block decides, as a writer does.
std::vector<std::int16_t> Resample(const std::vector<std::int16_t>& input, std::uint32_t from, std::uint32_t to,
                                   std::size_t block = 997)
{
    Resampler resampler(from, to);
    std::vector<std::int16_t> out;
    std::int16_t pulled[1000];
    const auto drain = [&] {
        for (std::size_t n; (n = resampler.Pull(pulled, std::size(pulled))) > 0;)
            out.insert(out.end(), pulled, pulled + n);
    };
    for (std::size_t first = 0; first < input.size(); first += block) {
        resampler.Push(input.data() + first, std::min(block, input.size() - first));
        drain();
    }
    resampler.Finish();
    drain();
    EXPECT_EQ(static_cast<std::int64_t>(out.size()), resampler.OutputLength(static_cast<std::int64_t>(input.size())));
    return out;
}

// The largest difference from the ideal sine away from the two ends, where
// the silence outside the input rings in.
double WorstError(const std::vector<std::int16_t>& out, double hertz, std::uint32_t rate, double amplitude)
{
    double worst = 0;
    for (std::size_t k = rate / 100; k + rate / 100 < out.size(); ++k)
        worst = std::max(worst, std::abs(out[k] - amplitude * std::sin(2 * std::numbers::pi * hertz * k / rate)));
    return worst;
}

TEST(Resampler, KeepsTheLengthInTimeOfEveryRatePair)
{
    EXPECT_EQ(Resampler(44100, 48000).OutputLength(10 * 44100), 10 * 48000);
    EXPECT_EQ(Resampler(22050, 24000).OutputLength(700 * 22050), 700 * 24000);
    EXPECT_EQ(Resampler(96000, 48000).OutputLength(96001), 48000);
    EXPECT_EQ(Resampler(44101, 48000).OutputLength(44101), 48000);
    EXPECT_EQ(Resampler(44100, 48000).OutputLength(0), 0);
}

TEST(Resampler, TonesBelowTheCutoffComeOutAsTheSameToneAtTheNewRate)
{
    struct Case {
        std::uint32_t from, to;
        double hertz;
    };
    // Rates with few phases take one row each; odd ones blend between rows.
    for (const Case c :
         {Case{44100, 48000, 1000}, Case{44100, 48000, 15000}, Case{11025, 12000, 3000}, Case{96000, 48000, 9000},
          Case{32000, 48000, 440}, Case{44101, 48000, 5000}, Case{100003, 48000, 7000}, Case{10000019, 48000, 2000}}) {
        SCOPED_TRACE(::testing::Message() << c.from << " -> " << c.to << " at " << c.hertz << " Hz");
        const std::uint32_t tenths = c.from > 1000000 ? 1 : 10;  // a tenth of a second of the fastest rate
        const auto out = Resample(Sine(c.hertz, c.from, c.from * tenths / 10, 20000), c.from, c.to, 99991);
        ASSERT_NEAR(static_cast<double>(out.size()), c.to * tenths / 10.0, 1.0);
        EXPECT_LT(WorstError(out, c.hertz, c.to, 20000), 3.0);
    }
}

TEST(Resampler, HoldsABoundedTableWhateverTheRatesAndStreamsInAnyBlocks)
{
    for (const auto& [from, to] : std::vector<std::pair<std::uint32_t, std::uint32_t>>{
             {44100, 48000}, {44101, 48000}, {10000000, 48000}, {10000019, 48000}, {8000, 48000}, {7, 48000}})
        EXPECT_LE(Resampler(from, to).CoefficientsHeld(), Resampler::kMostCoefficients) << from << " -> " << to;

    const auto input = Sine(3000, 44101, 20000, 15000);
    const auto whole = Resample(input, 44101, 48000, input.size());
    for (const std::size_t block : {1u, 37u, 4096u})
        EXPECT_EQ(Resample(input, 44101, 48000, block), whole) << "blocks of " << block;
}

TEST(Resampler, RemovesWhatTheLowerRateCannotCarry)
{
    // 30 kHz at 96000 would alias to 18 kHz at 48000.
    const auto out = Resample(Sine(30000, 96000, 48000, 20000), 96000, 48000);
    EXPECT_LT(WorstError(out, 0, 48000, 0), 3.0);
}

TEST(Resampler, KeepsSilenceAndSteadyLevelsAndSaturates)
{
    const auto level = Resample(std::vector<std::int16_t>(20000, -12345), 44100, 48000);
    for (std::size_t k = 200; k + 200 < level.size(); ++k)
        ASSERT_EQ(level[k], -12345) << k;
    const auto silence = Resample(std::vector<std::int16_t>(5000, 0), 8000, 48000);
    EXPECT_EQ(std::count(silence.begin(), silence.end(), 0), 30000);
    // A full-scale square wave overshoots at its edges: held at the 16-bit limits.
    std::vector<std::int16_t> square(4410);
    for (std::size_t k = 0; k < square.size(); ++k)
        square[k] = k / 50 % 2 ? std::int16_t{32767} : std::int16_t{-32768};
    const auto clipped = Resample(square, 44100, 48000);
    EXPECT_GT(std::count(clipped.begin(), clipped.end(), 32767), 10);
    EXPECT_GT(std::count(clipped.begin(), clipped.end(), -32768), 10);
}

}  // namespace
