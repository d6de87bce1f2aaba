#include "ringing/NextRow.h"
#include "ringing/TouchProof.h"
#include "synth/PealRender.h"
#include "tests/ringing/TouchRequests.h"
#include "tests/synth/TestBells.h"

#include <gtest/gtest.h>

namespace {

class PlanRenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (CSoundBuffer& bell : loaded.bells)
            bell.state = 1;
    }

    // As the main dialog plans: its lists by index.
    RenderPlan Build(std::uint32_t rate, std::int32_t bellCountIndex, std::int32_t pealSpeedIndex,
                     std::int32_t lengthSeconds = 60, MethodStyle style = StyleHome)
    {
        RenderRequest request;
        request.bells = BellsForListIndex(bellCountIndex);
        request.pealSeconds = PealSecondsForListIndex(pealSpeedIndex);
        request.lengthSeconds = lengthSeconds;
        request.style = style;
        return PlanRender(request, loaded.bells.data(), rate);
    }

    // A touch of the three-bell hunt "3.1" on `ringingBells` bells, at 44100 Hz and 3h00.
    RenderPlan PlanTouch(std::int16_t ringingBells, std::int32_t lengthSeconds = 60)
    {
        RenderRequest request;
        request.touch = BuildTouch(NotationRequest("3.1", 3)).touch;
        request.bells = ringingBells;
        request.lengthSeconds = lengthSeconds;
        request.style = StyleStedman;
        return PlanRender(request, loaded.bells.data(), 44100);
    }

    TestBells loaded;
};

TEST_F(PlanRenderTest, LengthMustLieWithinTenToSevenHundredSeconds)
{
    for (const std::int32_t length : {9, 701, 0, -10}) {
        const RenderPlan build = Build(44100, 3, 1, length);
        EXPECT_FALSE(build.ok) << length;
        EXPECT_EQ(build.refusal, "Recording length too short or too long!");
        EXPECT_FALSE(build.stageChosen) << "a length refusal changes nothing";
    }
    EXPECT_TRUE(Build(44100, 3, 1, 10).ok);
    EXPECT_TRUE(Build(44100, 3, 1, 700).ok);
}

TEST_F(PlanRenderTest, StrikeIntervalAndHandstrokeGap)
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
        const RenderPlan build = Build(c.rate, c.bellCountIndex, c.pealSpeedIndex);
        ASSERT_TRUE(build.ok) << build.refusal;
        EXPECT_EQ(build.stage, c.stage);
        EXPECT_EQ(build.strikeInterval, c.interval) << c.rate << " Hz, " << c.stage << " bells";
        EXPECT_EQ(build.handstrokeGap, c.gap) << c.rate << " Hz, " << c.stage << " bells";
    }
}

TEST_F(PlanRenderTest, SampleCounts)
{
    RenderPlan build = Build(44100, 3, 1, 10);
    EXPECT_EQ(build.totalSamples, 441000);
    EXPECT_EQ(build.fadeSamples, 110250);
    EXPECT_EQ(build.preRollSamples, 396900);
    EXPECT_EQ(Build(44100, 3, 1, 14).fadeSamples, 110250);
    build = Build(44100, 3, 1, 15);
    EXPECT_EQ(build.totalSamples, 661500);
    EXPECT_EQ(build.fadeSamples, 220500);
    EXPECT_EQ(Build(11025, 3, 1, 10).fadeSamples, 27562);
}

TEST_F(PlanRenderTest, NoSelectionMeansThreeHoursAndFiveBells)
{
    EXPECT_EQ(Build(44100, 3, -1).strikeInterval, Build(44100, 3, 1).strikeInterval);
    EXPECT_EQ(Build(44100, 3, 6).strikeInterval, Build(44100, 3, 1).strikeInterval);
    const RenderPlan none = Build(44100, -1, 1);
    EXPECT_EQ(none.stage, 5);
    EXPECT_EQ(none.strikeInterval, Build(44100, 0, 1).strikeInterval);
    EXPECT_EQ(none.handstrokeGap, none.strikeInterval);  // gap factor 1.0
}

TEST_F(PlanRenderTest, PrincipleNeedsSixteenBells)
{
    const RenderPlan twelve = Build(44100, 4, 1, 60, StylePrinciple);
    EXPECT_EQ(twelve.style, StyleStedman);
    EXPECT_EQ(twelve.style, StyleStedman);
    const RenderPlan sixteen = Build(44100, 6, 1, 60, StylePrinciple);
    EXPECT_EQ(sixteen.style, StylePrinciple);
    EXPECT_EQ(Build(44100, 4, 1, 60, StyleGrandsire).style, StyleGrandsire);
}

TEST_F(PlanRenderTest, OnlyTheRingingBellsMustBeLoaded)
{
    for (int b = 8; b < 16; ++b)
        loaded.bells[b].state = 0;
    EXPECT_TRUE(Build(44100, 2, 1).ok);

    loaded.bells[7].state = 0;
    const RenderPlan build = Build(44100, 2, 1, 60, StylePrinciple);
    EXPECT_FALSE(build.ok);
    EXPECT_EQ(build.refusal, "load more files!");
    EXPECT_TRUE(build.stageChosen);
    EXPECT_EQ(build.stage, 8);
    EXPECT_EQ(build.style, StyleStedman);
}

TEST_F(PlanRenderTest, RatesThatCannotMakeAnOutputAreRefused)
{
    RenderPlan build = Build(0, 3, 1);
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
    EXPECT_EQ(build.totalSamples, 2147483640);
    EXPECT_LT(build.preRollSamples, build.totalSamples);
    EXPECT_LT(build.fadeSamples, build.totalSamples);
    EXPECT_GT(build.strikeInterval, 0);

    for (const auto& [rate, length] :
         {std::pair<std::uint32_t, std::int32_t>{214748364, 11}, {4000000, 700}, {4294967295u, 10}}) {
        build = Build(rate, 3, 1, length);
        EXPECT_FALSE(build.ok) << rate << " Hz, " << length << " s";
        EXPECT_EQ(build.refusal, kTooManySamplesRefusal);
    }
}

TEST_F(PlanRenderTest, TouchesRingThreeToSixteenBellsWithTheGapFactorOfTheirCount)
{
    struct Case {
        std::int16_t bells;
        std::int32_t interval, gap;  // 44100 Hz, 3h00
    };
    for (const Case& c : {Case{3, 27216, 27216}, Case{4, 21168, 21168}, Case{7, 12786, 11507}, Case{10, 9159, 7327},
                          Case{11, 8319, 7487}, Case{13, 7082, 6373}, Case{15, 6165, 5548}}) {
        const RenderPlan build = PlanTouch(c.bells);
        ASSERT_TRUE(build.ok) << build.refusal;
        EXPECT_EQ(build.stage, c.bells);
        EXPECT_EQ(build.style, StyleHome) << "rows come from the touch";
        EXPECT_EQ(build.strikeInterval, c.interval) << c.bells << " bells";
        EXPECT_EQ(build.handstrokeGap, c.gap) << c.bells << " bells";
    }
    // On the stages of the bells list a touch's numbers are the application's.
    for (std::int32_t index = 0; index <= 6; ++index) {
        const RenderPlan listed = Build(44100, index, 1);
        const RenderPlan touch = PlanTouch(listed.stage);
        EXPECT_EQ(touch.strikeInterval, listed.strikeInterval) << listed.stage;
        EXPECT_EQ(touch.handstrokeGap, listed.handstrokeGap) << listed.stage;
        EXPECT_EQ(touch.totalSamples, listed.totalSamples);
        EXPECT_EQ(touch.fadeSamples, listed.fadeSamples);
        EXPECT_EQ(touch.preRollSamples, listed.preRollSamples);
    }
}

TEST_F(PlanRenderTest, TouchesRefuseABadLengthABadCountAndMissingBells)
{
    EXPECT_EQ(PlanTouch(8, 9).refusal, kLengthRefusal);
    for (const std::int16_t bells : {0, 2, 17, -1}) {
        const RenderPlan build = PlanTouch(bells);
        EXPECT_FALSE(build.ok) << bells;
        EXPECT_EQ(build.refusal, kBellCountRefusal) << bells;
    }
    for (int b = 7; b < 16; ++b)
        loaded.bells[b].state = 0;
    EXPECT_TRUE(PlanTouch(7).ok);
    const RenderPlan build = PlanTouch(8);
    EXPECT_FALSE(build.ok);
    EXPECT_EQ(build.refusal, kBellsRefusal);
}

// The whole touch: the changes the prover counts (for a style, NextRow until
// it comes home), then the sound to the nominal start of the fourth row of
// rounds after it, (m * bells) * interval + m / 2 * gap, and a 5 s fade.
TEST_F(PlanRenderTest, TheWholeTouchLastsToTheFourthRowOfRoundsAfterItAndAFade)
{
    struct Case {
        const char* title;  // or null for `style`
        MethodStyle style;
        std::int16_t bells;
        const char* calling;
        double pealSeconds;
        std::uint32_t rate;
    };
    for (const Case& c :
         {Case{"Cambridge Surprise Sixteen", StyleHome, 16, "", 14400, 44100},
          Case{"Plain Bob Minor", StyleHome, 7, "b", 9900, 48000},
          Case{"Grandsire Triples", StyleHome, 8, "", 5400, 8000}, Case{nullptr, StyleStedman, 12, "", 18000, 22050},
          Case{nullptr, StylePrinciple, 16, "", 10800, 44100}, Case{nullptr, StyleHome, 10, "", 10800, 44100}}) {
        SCOPED_TRACE(c.title != nullptr ? c.title : "style");
        RenderRequest request;
        std::int64_t changes = 0;
        if (c.title != nullptr) {
            request.touch = BuildTouch(MethodRequest(FindBuiltInMethod(c.title), c.calling)).touch;
            changes = ProveTouch(*request.touch).changes;
        } else if (c.style != StyleHome) {
            Row row = HomeRow();
            std::int32_t rowIndex = 4;
            while (!NextRow(rowIndex, row, c.bells, c.style))
                ++rowIndex;
            changes = rowIndex - 3;
        }
        request.style = c.style;
        request.bells = c.bells;
        request.pealSeconds = c.pealSeconds;
        request.wholeTouch = true;
        const RenderPlan plan = PlanRender(request, loaded.bells.data(), c.rate);
        ASSERT_TRUE(plan.ok) << plan.refusal;
        EXPECT_EQ(plan.touchChanges, changes);
        const double gapFactor = c.bells == 10 ? 0.8 : c.bells <= 6 ? 1.0 : 0.9;
        const auto interval = static_cast<std::int64_t>(c.rate * c.pealSeconds / 2500 / (2 * c.bells + gapFactor));
        const auto gap = static_cast<std::int64_t>(static_cast<double>(interval) * gapFactor);
        const std::int64_t m = changes + 8;
        EXPECT_EQ(plan.totalSamples, m * c.bells * interval + m / 2 * gap + 5 * c.rate);
        EXPECT_EQ(plan.fadeSamples, 5 * c.rate);
        EXPECT_EQ(plan.preRollSamples, 9 * c.rate);
    }
    EXPECT_EQ(Build(44100, 3, 1).touchChanges, -1) << "a length in seconds";
}

TEST_F(PlanRenderTest, AWholeTouchThatNeverComesRoundOrOutlastsASoundFileIsRefused)
{
    // Comes round after 999,880 changes, or after more than 1,000,000 (see the touch tests).
    auto longLead = [](std::size_t crosses) {
        return "34789TABCD" + std::string(crosses, 'x') +
               "145890ABCD.125690EBCD.12345670ETCD.1234567890ETAD.1234567890ETAB";
    };
    RenderRequest request;
    request.bells = 16;
    request.wholeTouch = true;
    request.touch = BuildTouch(NotationRequest(longLead(7138), 16)).touch;
    RenderPlan plan = PlanRender(request, loaded.bells.data(), 8000);
    EXPECT_FALSE(plan.ok);
    EXPECT_EQ(plan.refusal, ProveTouch(*request.touch).refusal);

    request.touch = BuildTouch(NotationRequest(longLead(7136), 16)).touch;
    plan = PlanRender(request, loaded.bells.data(), 8000);
    EXPECT_FALSE(plan.ok);
    EXPECT_NE(plan.refusal.find("rings 999,880 changes, 599:40:25 of sound"), std::string::npos) << plan.refusal;
    EXPECT_NE(plan.refusal.find("2,147,483,627 samples"), std::string::npos) << plan.refusal;

    // A plain course of 35 minutes fits at 1 MHz, not at 2 MHz.
    request.touch = BuildTouch(MethodRequest(FindBuiltInMethod("Cambridge Surprise Sixteen"))).touch;
    EXPECT_TRUE(PlanRender(request, loaded.bells.data(), 1000000).ok);
    plan = PlanRender(request, loaded.bells.data(), 2000000);
    EXPECT_EQ(plan.refusal,
              "Cambridge Surprise Sixteen: the touch rings 960 changes, 0:34:55 of sound: more than a "
              "sound file holds at 2000000 Hz (2,147,483,627 samples, 0:17:53)");
}

}  // namespace
