#include "synth/BlowLog.h"
#include "synth/HumanStriking.h"
#include "synth/OddBellStriking.h"
#include "synth/RenderPeal.h"
#include "synth/StrikeRandom.h"
#include "synth/UniformStriking.h"
#include "tests/synth/PlainRenderPeal.h"
#include "tests/synth/TestBells.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

TEST(StrikeRandom, GivesTheSameDrawsOnEveryHost)
{
    StrikeRandom uniform(kDefaultStrikeSeed);
    for (const std::int32_t expected : {19689, 16279, 3421, 2957})
        EXPECT_EQ(uniform.Next(), expected);
    StrikeRandom normal(kDefaultStrikeSeed);
    for (const double expected : {2.528666023995219, 0.10365649317014781, 0.55924381621824981, 0.1165517915198553})
        EXPECT_EQ(normal.NextNormal(), expected);
}

TEST(StrikeRandom, NormalDrawsFollowTheNormalLaw)
{
    constexpr int kDraws = 1'000'000;
    StrikeRandom random(12345);
    double sum = 0, squares = 0;
    int within[3] = {0, 0, 0};
    for (int k = 0; k < kDraws; ++k) {
        const double z = random.NextNormal();
        sum += z;
        squares += z * z;
        for (int d = 0; d < 3; ++d)
            within[d] += std::abs(z) < d + 1;
    }
    EXPECT_NEAR(sum / kDraws, 0.0, 0.004);
    EXPECT_NEAR(squares / kDraws, 1.0, 0.005);
    // The normal law's shares within one, two and three standard deviations.
    EXPECT_NEAR(within[0] / double{kDraws}, 0.682689, 0.002);
    EXPECT_NEAR(within[1] / double{kDraws}, 0.954500, 0.001);
    EXPECT_NEAR(within[2] / double{kDraws}, 0.997300, 0.0003);
}

// A job rendered with a model, its blows logged.
struct LoggedRender {
    TestJob job;
    BlowLog log;

    LoggedRender(const TestBells& bells, std::int16_t stage, std::int32_t total, std::int32_t interval,
                 std::int32_t gap, StrikingModel* model, std::int16_t strikingError = 0, std::uint32_t seed = 1)
        : job(bells, stage, StyleHome, total, std::min(total - 1, 9000), 0, interval, gap, strikingError, seed)
    {
        if (model != nullptr)
            job.params.striking = model;
        job.params.blows = &log;
        const std::int64_t mostEarly = job.params.striking->MostEarly();
        EXPECT_TRUE(log.Reserve(static_cast<std::size_t>(MostBlowsRung(job.params, mostEarly))));
        RenderPeal(&job.params);
    }

    std::vector<Blow> Blows() const { return {log.begin(), log.end()}; }
};

// The log is complete and in time order, and mixing the bells at its strikes
// independently gives the rendered sound, sample for sample.
void ExpectSoundFollowsLog(const TestBells& bells, const LoggedRender& render)
{
    EXPECT_TRUE(render.log.Complete());
    const std::vector<Blow> blows = render.Blows();
    EXPECT_TRUE(
        std::is_sorted(blows.begin(), blows.end(), [](const Blow& a, const Blow& b) { return a.strike < b.strike; }));
    ASSERT_FALSE(blows.empty());
    EXPECT_GE(blows.front().strike, 0);
    EXPECT_LT(blows.back().strike, render.job.params.totalSamples);

    const RenderParams& p = render.job.params;
    TestJob plain(bells, p.stage, StyleHome, p.totalSamples, p.preRollSamples, p.fadeSamples, 0, 0);
    PlainMixBlows(&plain.params, blows);
    const auto firstDifference =
        std::mismatch(render.job.output.begin(), render.job.output.end(), plain.output.begin());
    EXPECT_TRUE(firstDifference.first == render.job.output.end())
        << "the sound leaves the log at sample " << (firstDifference.first - render.job.output.begin());
}

struct NoisyBells : TestBells {
    NoisyBells()
    {
        Make(8000, 3000, 40, [](int b, std::int32_t k) {
            return static_cast<std::int16_t>(((k * 7919 + b * 104729) % 2001 - 1000) * (3000 - k) / 300);
        });
    }
};

TEST(Striking, TheUniformModelRingsAsTheApplicationAlwaysHas)
{
    const NoisyBells bells;
    constexpr std::int32_t total = 300000, interval = 900, gap = 700;
    const LoggedRender byDefault(bells, 8, total, interval, gap, nullptr, 60, 7);
    StrikeRandom random(7);
    UniformStriking uniform(interval, 60, random);
    const LoggedRender asModel(bells, 8, total, interval, gap, &uniform, 60, 7);
    StrikeRandom oddRandom(7);
    UniformStriking oddBase(interval, 60, oddRandom);
    OddBellStriking noOffsets(oddBase);
    const LoggedRender layered(bells, 8, total, interval, gap, &noOffsets, 60, 7);

    TestJob plain(bells, 8, StyleHome, total, 9000, 0, interval, gap, 60, 7);
    PlainRenderPeal(&plain.params);
    EXPECT_TRUE(byDefault.job.output == plain.output) << "the per-sample reference";
    EXPECT_TRUE(asModel.job.output == plain.output);
    EXPECT_TRUE(layered.job.output == plain.output);
    EXPECT_EQ(random.Next(), oddRandom.Next()) << "as many draws";
    ExpectSoundFollowsLog(bells, byDefault);

    const std::vector<Blow> blows = byDefault.Blows();
    ASSERT_GT(blows.size(), 300u);
    EXPECT_EQ(blows[0].strike, 0);
    EXPECT_EQ(blows[1].strike, interval) << "the first two blows carry no error";
    for (std::size_t k = 1; k < blows.size(); ++k) {
        EXPECT_GT(blows[k].strike, blows[k - 1].strike) << "blow " << k;
        EXPECT_EQ(blows[k].place, static_cast<int>(k % 8)) << "rung in ringing order";
    }
}

TEST(Striking, HumanErrorsHaveTheAskedSpreadAndNoBias)
{
    const MarkerBells bells;
    constexpr double rms = 40.0;
    constexpr std::int32_t interval = 400, total = 8'000'000;
    StrikeRandom random(3);
    HumanStriking human(rms, random);
    const LoggedRender render(bells, 10, total, interval, interval, &human);
    ExpectSoundFollowsLog(bells, render);

    double sum = 0, squares = 0;
    int count = 0, withinOne = 0;
    for (const Blow& blow : render.log) {
        if (blow.ideal < 6 * rms)
            continue;  // may have been moved to sample 0
        const double error = static_cast<double>(blow.strike - blow.ideal);
        EXPECT_LE(std::abs(error), 6 * rms + 1);
        sum += error;
        squares += error * error;
        withinOne += std::abs(error) <= rms;
        ++count;
    }
    ASSERT_GT(count, 19000);
    const double mean = sum / count;
    EXPECT_LT(std::abs(mean), 0.03 * rms);
    EXPECT_NEAR(std::sqrt(squares / count - mean * mean), rms, 0.03 * rms);
    EXPECT_NEAR(static_cast<double>(withinOne) / count, 0.6827, 0.02);
}

TEST(Striking, ASeedRepeatsAHumanRenderAndAnotherChangesIt)
{
    const NoisyBells bells;
    auto render = [&](std::uint32_t seed) {
        StrikeRandom random(seed);
        HumanStriking human(200.0, random);
        const LoggedRender rendered(bells, 6, 100000, 1500, 1500, &human);
        return std::make_pair(rendered.job.output, rendered.Blows().size());
    };
    const auto first = render(5);
    EXPECT_EQ(render(5), first);
    EXPECT_NE(render(6).first, first.first);
}

TEST(Striking, AnOddBellIsOffOnlyAtTheStrokeAsked)
{
    const NoisyBells bells;
    constexpr std::int32_t interval = 1000;
    StrikeRandom random(1);
    UniformStriking exact(interval, 0, random);
    OddBellStriking odd(exact);
    odd.SetOffset(2, false, true, 370);   // bell 3, late at backstroke
    odd.SetOffset(4, true, false, -230);  // bell 5, early at handstroke
    odd.SetOffset(0, true, true, 110);    // bell 1, late at both
    odd.SetOffset(0, false, true, 90);    // ... then less late at backstroke
    const LoggedRender render(bells, 6, 200000, interval, interval, &odd);
    ExpectSoundFollowsLog(bells, render);

    ASSERT_GT(render.log.size(), 150u);
    int offBlows = 0;
    for (const Blow& blow : render.log) {
        const bool hand = blow.row % 2 == 0;
        std::int64_t expected = 0;
        if (blow.bell == 2 && !hand)
            expected = 370;
        if (blow.bell == 4 && hand)
            expected = -230;
        if (blow.bell == 0)
            expected = hand ? 110 : 90;
        EXPECT_EQ(blow.strike - blow.ideal, expected) << "row " << blow.row << " bell " << blow.bell;
        offBlows += expected != 0;
    }
    EXPECT_GT(offBlows, 50);
}

TEST(Striking, ClashesRingInTimeOrder)
{
    const MarkerBells bells;
    constexpr std::int32_t interval = 100;
    StrikeRandom random(1);
    UniformStriking exact(interval, 0, random);
    OddBellStriking odd(exact);
    odd.SetOffset(1, true, true, -150);  // bell 2 strikes half an interval before bell 1
    const LoggedRender render(bells, 5, 20000, interval, 0, &odd);
    ExpectSoundFollowsLog(bells, render);

    const std::vector<Blow> blows = render.Blows();
    ASSERT_GE(blows.size(), 195u);
    // Row 0: bell 2's time falls before sample 0, so it strikes there, after bell 1.
    EXPECT_EQ(blows[0].bell, 0);
    EXPECT_EQ(blows[0].strike, 0);
    EXPECT_EQ(blows[1].bell, 1);
    EXPECT_EQ(blows[1].strike, 0);
    for (std::size_t k = 5; k + 5 < blows.size(); k += 5) {
        const std::int64_t rowStart = static_cast<std::int64_t>(k) * interval;
        EXPECT_EQ(blows[k].bell, 1) << "row " << blows[k].row;
        EXPECT_EQ(blows[k].strike, rowStart - 50);
        EXPECT_EQ(blows[k + 1].bell, 0);
        EXPECT_EQ(blows[k + 1].strike, rowStart);
        // On five bells bell b sounds as (b + 1) * 4800.
        EXPECT_EQ(render.job.output[rowStart - 50], 2 * 4800);
        EXPECT_EQ(render.job.output[rowStart], 4800);
    }
}

TEST(Striking, HumanBlowsDrawnBeforeTheStartStrikeAtSampleZero)
{
    const MarkerBells bells;
    std::ptrdiff_t atZero = 0;
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        StrikeRandom random(seed);
        HumanStriking human(400.0, random);
        const LoggedRender render(bells, 8, 40000, 100, 100, &human);
        ExpectSoundFollowsLog(bells, render);
        atZero += std::count_if(render.log.begin(), render.log.end(), [](const Blow& b) { return b.strike == 0; });
    }
    EXPECT_GT(atZero, 10) << "about two blows in each render are drawn before sample 0";
}

TEST(Striking, ABlowBeyondTheLookAheadSoundsWhenReachedAndIsLoggedThere)
{
    const NoisyBells bells;
    constexpr std::int32_t interval = 50;
    StrikeRandom random(1);
    UniformStriking exact(interval, 0, random);
    OddBellStriking odd(exact);
    odd.SetOffset(3, true, true, -std::int64_t{interval} * (kMostPendingBlows + 40));
    const LoggedRender render(bells, 5, 60000, interval, 0, &odd);
    ExpectSoundFollowsLog(bells, render);
    const auto late =
        std::count_if(render.log.begin(), render.log.end(), [](const Blow& b) { return b.bell == 3 && b.strike > 0; });
    EXPECT_GT(late, 100) << "bell 4 still rings, late, once the look-ahead is full";
}

}  // namespace
