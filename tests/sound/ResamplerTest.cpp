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

std::vector<std::int16_t> Resample(const std::vector<std::int16_t>& input, std::uint32_t from, std::uint32_t to)
{
    const Resampler resampler(from, to);
    const auto count = static_cast<std::int64_t>(input.size());
    std::vector<std::int16_t> out(static_cast<std::size_t>(resampler.OutputLength(count)));
    // In uneven blocks, as a writer asks for them.
    for (std::int64_t first = 0; first < static_cast<std::int64_t>(out.size()); first += 1000) {
        const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(1000, out.size() - first));
        resampler.Render(input.data(), count, first, n, out.data() + first);
    }
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
    for (const Case c : {Case{44100, 48000, 1000}, Case{44100, 48000, 15000}, Case{11025, 12000, 3000},
                         Case{96000, 48000, 9000}, Case{32000, 48000, 440}, Case{44101, 48000, 5000}}) {
        SCOPED_TRACE(::testing::Message() << c.from << " -> " << c.to << " at " << c.hertz << " Hz");
        const auto out = Resample(Sine(c.hertz, c.from, c.from, 20000), c.from, c.to);
        ASSERT_EQ(out.size(), c.to) << "one second";
        EXPECT_LT(WorstError(out, c.hertz, c.to, 20000), 3.0);
    }
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
