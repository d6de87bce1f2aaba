#include "ringing/BuiltInMethods.h"
#include "ringing/RowText.h"
#include "ringing/TouchBuilder.h"
#include "ringing/TouchStepper.h"
#include "synth/PealRender.h"
#include "synth/RenderPeal.h"
#include "tests/synth/TestBells.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Touch BuildOrFail(TouchRequest request)
{
    const TouchBuild build = BuildTouch(request);
    EXPECT_EQ(build.fault, "");
    return build.touch;
}

Touch BuiltIn(const char* title)
{
    TouchRequest request;
    request.method = FindBuiltInMethod(title);
    return BuildOrFail(request);
}

TEST(TouchRender, GrandsireTriplesWithACoverRingsTheGrandsireStyleOnEightSampleForSample)
{
    TestBells bells;
    std::uint32_t noise = 2024;
    bells.Make(8000, 900, 11, [&](int b, std::int32_t k) {
        noise = noise * 1664525u + 1013904223u;
        return static_cast<std::int16_t>((static_cast<std::int32_t>(noise >> 20) - 2048) * (900 - k) / 900 *
                                         (b % 8 + 3));
    });
    const Touch grandsire = BuiltIn("Grandsire Triples");
    for (const std::int16_t strikingError : {0, 5}) {
        // 60000 samples at 70 per strike ring the 74 rows of the touch and rounds after.
        TestJob byStyle(bells, 8, StyleGrandsire, 60000, 4000, 5000, 70, 63, strikingError, 7);
        TestJob byTouch(bells, 8, StyleHome, 60000, 4000, 5000, 70, 63, strikingError, 7);
        TouchStepper stepper(grandsire);
        byTouch.params.rows = &stepper;
        RenderPeal(&byStyle.params);
        RenderPeal(&byTouch.params);
        ASSERT_EQ(byStyle.params.style, StyleHome) << "the style's touch came home";
        EXPECT_TRUE(stepper.CameRound());
        EXPECT_TRUE(byTouch.output == byStyle.output) << "striking error " << strikingError;
    }
}

TEST(TouchRender, AnyNumberOfBellsRingsTheStepperRowsWithCovers)
{
    for (const int bells : {3, 4, 7, 9}) {
        SCOPED_TRACE(testing::Message() << bells << " bells");
        // One-sample bells whose value tells the bell: the pre-roll's peak
        // is the last bell's, so bell b shows as about (b + 1) * 24000 / bells.
        TestBells markers;
        markers.Make(8000, 1, 0, [](int b, std::int32_t) { return static_cast<std::int16_t>((b + 1) * 100); });
        TouchRequest request;
        request.placeNotation = "3.1";
        request.stage = 3;
        const Touch hunt = BuildOrFail(request);
        constexpr std::int32_t interval = 40;
        TestJob job(markers, static_cast<std::int16_t>(bells), StyleHome, 12000, 2000, 0, interval, 0);
        TouchStepper stepper(hunt);
        job.params.rows = &stepper;
        RenderPeal(&job.params);

        std::string rung;
        for (std::size_t i = 0; i < job.output.size(); ++i)
            if (job.output[i] != 0)
                rung += kBellSymbols[static_cast<std::size_t>(std::lround(job.output[i] * bells / 24000.0)) - 1];
        TouchStepper expected(hunt);
        Row row = HomeRow();
        std::string rows;
        for (std::int32_t rowIndex = 0; static_cast<std::size_t>(rowIndex) * bells < rung.size(); ++rowIndex) {
            if (rowIndex > 0)
                expected.Next(rowIndex, row);
            rows += RowText(row, bells);
        }
        EXPECT_EQ(rung, rows.substr(0, rung.size()));
        EXPECT_EQ(rung.size(), static_cast<std::size_t>(12000 / interval));
        const std::string covers(kBellSymbols.substr(3, static_cast<std::size_t>(bells - 3)));
        for (std::size_t at = 0; at + bells <= rung.size(); at += bells)
            EXPECT_EQ(rung.substr(at + 3, bells - 3), covers) << "row " << at / bells;
        const char* opening[] = {"123", "123", "123", "123", "213", "231", "321", "312", "132", "123", "123"};
        for (std::size_t r = 0; r < std::size(opening); ++r)
            EXPECT_EQ(rung.substr(r * bells, 3), opening[r]) << "row " << r;
    }
}

// What a render streams, in the blocks it comes in; refuses any sample past `refuseFrom`.
struct CollectingSink : SampleSink {
    std::vector<std::int16_t> samples;
    std::size_t refuseFrom = SIZE_MAX;
    bool Write(const std::int16_t* block, std::size_t count) override
    {
        if (samples.size() + count > refuseFrom)
            return false;
        samples.insert(samples.end(), block, block + count);
        return true;
    }
};

TEST(TouchRender, AStreamedRenderIsTheInMemoryOneSampleForSampleAndStopsWhenTheSinkFails)
{
    TestBells bells;
    bells.Make(8000, 3000, 25, [](int b, std::int32_t k) {
        return static_cast<std::int16_t>(((k * 7919 + b * 104729) % 2001 - 1000) * (3000 - k) / 150);
    });
    RenderRequest request;
    request.touch = BuiltIn("Stedman Triples");
    request.bells = 8;
    request.wholeTouch = true;
    request.pealSeconds = 5400;
    request.striking.model = StrikingModelKind::Human;
    request.striking.oddBells.push_back({2, -40, true, true});
    request.seed = 11;
    const RenderPlan plan = PlanRender(request, bells.bells.data(), 8000);
    ASSERT_TRUE(plan.ok) << plan.refusal;
    ASSERT_GT(plan.totalSamples, 3 * plan.preRollSamples) << "the pre-roll is streamed in several blocks";

    CSoundBuffer memory;
    PealRender inMemory(request, plan, bells.bells.data());
    ASSERT_TRUE(inMemory.RenderInto(memory));
    inMemory.Run();
    CollectingSink sink;
    PealRender streamed(request, plan, bells.bells.data());
    ASSERT_TRUE(streamed.StreamTo(sink));
    streamed.Start();
    streamed.Wait();
    EXPECT_TRUE(inMemory.Complete());
    EXPECT_TRUE(streamed.Complete());
    EXPECT_EQ(streamed.ChangesRung(), plan.touchChanges);
    EXPECT_TRUE(sink.samples ==
                std::vector<std::int16_t>(memory.samples.get(), memory.samples.get() + memory.sampleCount));

    CollectingSink failing;
    failing.refuseFrom = static_cast<std::size_t>(plan.preRollSamples) + 10000;
    PealRender stopped(request, plan, bells.bells.data());
    ASSERT_TRUE(stopped.StreamTo(failing));
    stopped.Run();
    EXPECT_TRUE(stopped.Finished());
    EXPECT_FALSE(stopped.Complete());
    EXPECT_LT(stopped.SamplesDone(), plan.preRollSamples + 20000) << "stopped at the refusal";
}

}  // namespace
