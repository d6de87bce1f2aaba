#include "synth/JobBuilder.h"
#include "tests/synth/TestBells.h"

#include <gtest/gtest.h>

namespace {

class JobBuilderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (CSoundBuffer& bell : loaded.bells)
            bell.state = 1;
    }

    JobBuild Build(std::uint32_t rate, std::int32_t bellCountIndex, std::int32_t pealSpeedIndex,
                   std::int32_t lengthSeconds = 60, MethodStyle style = StyleHome)
    {
        GenerationSettings settings;
        settings.commonSampleRate = rate;
        settings.bellCountIndex = bellCountIndex;
        settings.pealSpeedIndex = pealSpeedIndex;
        settings.lengthSeconds = lengthSeconds;
        settings.style = style;
        return BuildGenerationJob(settings, loaded.bells.data());
    }

    JobBuild BuildTouch(std::int16_t ringingBells, std::int32_t lengthSeconds = 60)
    {
        GenerationSettings settings;
        settings.commonSampleRate = 44100;
        settings.pealSpeedIndex = 1;
        settings.lengthSeconds = lengthSeconds;
        settings.style = StyleStedman;
        return BuildTouchJob(settings, ringingBells, loaded.bells.data());
    }

    TestBells loaded;
};

TEST_F(JobBuilderTest, LengthMustLieWithinTenToSevenHundredSeconds)
{
    for (const std::int32_t length : {9, 701, 0, -10}) {
        const JobBuild build = Build(44100, 3, 1, length);
        EXPECT_FALSE(build.ok) << length;
        EXPECT_EQ(build.refusal, "Recording length too short or too long!");
        EXPECT_FALSE(build.stageChosen) << "a length refusal changes nothing";
    }
    EXPECT_TRUE(Build(44100, 3, 1, 10).ok);
    EXPECT_TRUE(Build(44100, 3, 1, 700).ok);
}

TEST_F(JobBuilderTest, StrikeIntervalAndHandstrokeGap)
{
    struct Case {
        std::uint32_t rate;
        std::int32_t bellCountIndex, pealSpeedIndex;
        std::int16_t stage;
        std::int32_t interval, gap;
    };
    for (const Case& c :
         {Case{44100, 3, 1, 10, 9159, 7327}, Case{44100, 2, 1, 8, 11272, 10144}, Case{44100, 1, 0, 6, 13433, 13433},
          Case{44100, 6, 1, 16, 5790, 5211}, Case{48000, 6, 5, 16, 8403, 7562}, Case{22050, 0, 3, 5, 10102, 10102}}) {
        const JobBuild build = Build(c.rate, c.bellCountIndex, c.pealSpeedIndex);
        ASSERT_TRUE(build.ok) << build.refusal;
        EXPECT_EQ(build.job.stage, c.stage);
        EXPECT_EQ(build.job.strikeInterval, c.interval) << c.rate << " Hz, " << c.stage << " bells";
        EXPECT_EQ(build.job.handstrokeGap, c.gap) << c.rate << " Hz, " << c.stage << " bells";
    }
}

TEST_F(JobBuilderTest, SampleCounts)
{
    JobBuild build = Build(44100, 3, 1, 10);
    EXPECT_EQ(build.job.totalSamples, 441000);
    EXPECT_EQ(build.job.fadeSamples, 110250);
    EXPECT_EQ(build.job.preRollSamples, 396900);
    EXPECT_EQ(Build(44100, 3, 1, 14).job.fadeSamples, 110250);
    build = Build(44100, 3, 1, 15);
    EXPECT_EQ(build.job.totalSamples, 661500);
    EXPECT_EQ(build.job.fadeSamples, 220500);
    EXPECT_EQ(Build(11025, 3, 1, 10).job.fadeSamples, 27562);
}

TEST_F(JobBuilderTest, NoSelectionMeansThreeHoursAndFiveBells)
{
    EXPECT_EQ(Build(44100, 3, -1).job.strikeInterval, Build(44100, 3, 1).job.strikeInterval);
    EXPECT_EQ(Build(44100, 3, 6).job.strikeInterval, Build(44100, 3, 1).job.strikeInterval);
    const JobBuild none = Build(44100, -1, 1);
    EXPECT_EQ(none.job.stage, 5);
    EXPECT_EQ(none.job.strikeInterval, Build(44100, 0, 1).job.strikeInterval);
    EXPECT_EQ(none.job.handstrokeGap, none.job.strikeInterval);  // gap factor 1.0
}

TEST_F(JobBuilderTest, PrincipleNeedsSixteenBells)
{
    const JobBuild twelve = Build(44100, 4, 1, 60, StylePrinciple);
    EXPECT_EQ(twelve.style, StyleStedman);
    EXPECT_EQ(twelve.job.style, StyleStedman);
    const JobBuild sixteen = Build(44100, 6, 1, 60, StylePrinciple);
    EXPECT_EQ(sixteen.job.style, StylePrinciple);
    EXPECT_EQ(Build(44100, 4, 1, 60, StyleGrandsire).job.style, StyleGrandsire);
}

TEST_F(JobBuilderTest, OnlyTheRingingBellsMustBeLoaded)
{
    for (int b = 8; b < 16; ++b)
        loaded.bells[b].state = 0;
    EXPECT_TRUE(Build(44100, 2, 1).ok);

    loaded.bells[7].state = 0;
    const JobBuild build = Build(44100, 2, 1, 60, StylePrinciple);
    EXPECT_FALSE(build.ok);
    EXPECT_EQ(build.refusal, "load more files!");
    EXPECT_TRUE(build.stageChosen);
    EXPECT_EQ(build.stage, 8);
    EXPECT_EQ(build.style, StyleStedman);
}

TEST_F(JobBuilderTest, RatesThatCannotMakeAnOutputAreRefused)
{
    JobBuild build = Build(0, 3, 1);
    EXPECT_FALSE(build.ok);
    EXPECT_EQ(build.refusal, kZeroRateRefusal);
    EXPECT_TRUE(build.stageChosen);

    // With no bells loaded the rate is 0 too; the missing bells are what to say.
    for (CSoundBuffer& bell : loaded.bells)
        bell.state = 0;
    EXPECT_EQ(Build(0, 3, 1).refusal, "load more files!");
    for (CSoundBuffer& bell : loaded.bells)
        bell.state = 1;

    build = Build(214748364, 6, 5, 10);
    ASSERT_TRUE(build.ok);
    EXPECT_EQ(build.job.totalSamples, 2147483640);
    EXPECT_LT(build.job.preRollSamples, build.job.totalSamples);
    EXPECT_LT(build.job.fadeSamples, build.job.totalSamples);
    EXPECT_GT(build.job.strikeInterval, 0);

    for (const auto& [rate, length] :
         {std::pair<std::uint32_t, std::int32_t>{214748364, 11}, {4000000, 700}, {4294967295u, 10}}) {
        build = Build(rate, 3, 1, length);
        EXPECT_FALSE(build.ok) << rate << " Hz, " << length << " s";
        EXPECT_EQ(build.refusal, kTooManySamplesRefusal);
    }
}

TEST_F(JobBuilderTest, ApplyJobCopiesEveryNumber)
{
    const JobBuild build = Build(48000, 6, 5, 700, StylePrinciple);
    GenerationSettings settings;
    RenderParams params;
    ApplyJob(build.job, params);
    EXPECT_EQ(params.totalSamples, 33600000);
    EXPECT_EQ(params.preRollSamples, 432000);
    EXPECT_EQ(params.fadeSamples, 240000);
    EXPECT_EQ(params.strikeInterval, 8403);
    EXPECT_EQ(params.handstrokeGap, 7562);
    EXPECT_EQ(params.stage, 16);
    EXPECT_EQ(params.style, StylePrinciple);
    EXPECT_EQ(params.strikingError, settings.strikingError);
}

TEST_F(JobBuilderTest, TouchesRingThreeToSixteenBellsWithTheGapFactorOfTheirCount)
{
    struct Case {
        std::int16_t bells;
        std::int32_t interval, gap;  // 44100 Hz, 3h00
    };
    for (const Case& c : {Case{3, 27216, 27216}, Case{4, 21168, 21168}, Case{7, 12786, 11507}, Case{10, 9159, 7327},
                          Case{11, 8319, 7487}, Case{13, 7082, 6373}, Case{15, 6165, 5548}}) {
        const JobBuild build = BuildTouch(c.bells);
        ASSERT_TRUE(build.ok) << build.refusal;
        EXPECT_EQ(build.job.stage, c.bells);
        EXPECT_EQ(build.job.style, StyleHome) << "rows come from the touch";
        EXPECT_EQ(build.job.strikeInterval, c.interval) << c.bells << " bells";
        EXPECT_EQ(build.job.handstrokeGap, c.gap) << c.bells << " bells";
    }
    // On the stages of the bells list a touch's numbers are the application's.
    for (std::int32_t index = 0; index <= 6; ++index) {
        const GenerationJob listed = Build(44100, index, 1).job;
        const GenerationJob touch = BuildTouch(listed.stage).job;
        EXPECT_EQ(touch.strikeInterval, listed.strikeInterval) << listed.stage;
        EXPECT_EQ(touch.handstrokeGap, listed.handstrokeGap) << listed.stage;
        EXPECT_EQ(touch.totalSamples, listed.totalSamples);
        EXPECT_EQ(touch.fadeSamples, listed.fadeSamples);
        EXPECT_EQ(touch.preRollSamples, listed.preRollSamples);
    }
}

TEST_F(JobBuilderTest, TouchesRefuseABadLengthABadCountAndMissingBells)
{
    EXPECT_EQ(BuildTouch(8, 9).refusal, kLengthRefusal);
    for (const std::int16_t bells : {0, 2, 17, -1}) {
        const JobBuild build = BuildTouch(bells);
        EXPECT_FALSE(build.ok) << bells;
        EXPECT_EQ(build.refusal, kBellCountRefusal) << bells;
    }
    for (int b = 7; b < 16; ++b)
        loaded.bells[b].state = 0;
    EXPECT_TRUE(BuildTouch(7).ok);
    const JobBuild build = BuildTouch(8);
    EXPECT_FALSE(build.ok);
    EXPECT_EQ(build.refusal, kBellsRefusal);
}

}  // namespace
