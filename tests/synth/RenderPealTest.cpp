#include "synth/RenderPeal.h"
#include "ringing/NextRow.h"
#include "ringing/RowSource.h"
#include "synth/BlowLog.h"
#include "synth/StrikeRandom.h"
#include "tests/synth/PlainRenderPeal.h"
#include "tests/synth/TestBells.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <utility>

namespace {

struct Strike {
    std::int32_t time;
    int bell;
    bool operator==(const Strike&) const = default;
};

// Every nonzero output sample, as a strike of the bell its value marks.
std::vector<Strike> StrikesIn(const std::vector<std::int16_t>& output, int unit)
{
    std::vector<Strike> strikes;
    for (std::size_t i = 0; i < output.size(); ++i)
        if (output[i] != 0)
            strikes.push_back({static_cast<std::int32_t>(i), output[i] / unit - 1});
    return strikes;
}

TEST(RenderPeal, WithoutErrorEveryStrikeFallsOnItsRowAndPlace)
{
    const MarkerBells bells;
    constexpr std::int16_t stage = 5;
    constexpr std::int32_t interval = 50, gap = 30, total = 60000;
    TestJob job(bells, stage, StyleGrandsire, total, 250, 0, interval, gap);
    RenderPeal(&job.params);
    ASSERT_TRUE(job.params.finished);
    EXPECT_EQ(job.params.samplesDone, total);
    EXPECT_EQ(job.params.style, StyleHome) << "the method came home";

    // Pre-roll peak is bell 5 (500), so bell b shows as (b + 1) * 4800.
    const std::vector<Strike> strikes = StrikesIn(job.output, 4800);
    std::vector<Strike> expected;
    Row row = HomeRow();
    MethodStyle style = StyleGrandsire;
    for (std::int32_t m = 0;; ++m) {
        const std::int32_t rowStart = m * stage * interval + m / 2 * gap;
        if (rowStart >= total)
            break;
        for (int p = 0; p < stage; ++p)
            if (rowStart + p * interval < total)
                expected.push_back({rowStart + p * interval, row[p]});
        if (NextRow(m + 1, row, stage, style))
            style = StyleHome;
    }
    EXPECT_EQ(strikes, expected);
    ASSERT_GE(strikes.size(), 50u);
    for (std::size_t k = strikes.size() - 50; k < strikes.size(); ++k)
        EXPECT_EQ(strikes[k].bell, static_cast<int>(k % stage)) << "rounds after coming home";
    // The handstroke gap comes before rows 2, 4, ..., never before row 1.
    EXPECT_EQ(strikes[5].time, 5 * interval);
    EXPECT_EQ(strikes[10].time, 10 * interval + gap);
    EXPECT_EQ(strikes[15].time, 15 * interval + gap);
}

TEST(RenderPeal, StrikingErrorSparesTheFirstStrikeAndStaysWithinItsShare)
{
    const MarkerBells bells;
    constexpr std::int32_t interval = 1000;
    TestJob job(bells, 5, StyleHome, 200000, 4500, 0, interval, 0, 20, 7);
    RenderPeal(&job.params);
    const std::vector<Strike> strikes = StrikesIn(job.output, 4800);
    ASSERT_EQ(strikes.size(), 200u);
    EXPECT_EQ(strikes[0].time, 0);
    int offBeat = 0;
    for (std::size_t j = 0; j < strikes.size(); ++j) {
        const std::int32_t error = strikes[j].time - static_cast<std::int32_t>(j) * interval;
        EXPECT_LE(std::abs(error), 200) << "strike " << j;
        offBeat += error != 0;
    }
    EXPECT_GT(offBeat, 150);
}

TEST(RenderPeal, StrikesDrawnAtOrBeforeTheCurrentSampleFireAtTheNext)
{
    const MarkerBells bells;
    TestJob everySample(bells, 5, StyleHome, 100, 10, 0, 0, 0);
    RenderPeal(&everySample.params);
    EXPECT_EQ(std::count(everySample.output.begin(), everySample.output.end(), 0), 0);

    // At 100 % many drawn times fall behind; the ringing must still go on to the end.
    constexpr std::int32_t interval = 100, total = 100000;
    TestJob wild(bells, 5, StyleHome, total, 500, 0, interval, 0, 100);
    RenderPeal(&wild.params);
    const std::vector<Strike> strikes = StrikesIn(wild.output, 4800);
    EXPECT_GT(strikes.size(), 900u);
    ASSERT_FALSE(strikes.empty());
    EXPECT_GT(strikes.back().time, total - 3 * interval);
}

TEST(RenderPeal, PreRollPeakLandsAt24000AndScalesEverything)
{
    TestBells bells;
    bells.Make(8000, 4000, 0, [](int b, std::int32_t k) {
        return static_cast<std::int16_t>(((k * 37 + b * 11) % 200 - 100) * (40 + b) * (4000 - k) / 4000);
    });
    TestJob job(bells, 8, StyleHome, 40000, 20000, 0, 700, 500);
    RenderPeal(&job.params);
    const std::vector<double> preRoll = job.PreRoll();
    double peak = 0;
    for (std::int32_t k = 0; k < 20000; ++k)
        peak = std::max(peak, std::abs(preRoll[k]));
    ASSERT_GT(peak, 0);
    const double scale = 24000.0 / peak;
    std::int32_t loudest = 0;
    for (std::int32_t k = 0; k < 20000; ++k) {
        EXPECT_EQ(job.output[k], static_cast<std::int16_t>(scale * preRoll[k])) << k;
        loudest = std::max<std::int32_t>(loudest, std::abs(job.output[k]));
    }
    EXPECT_GE(loudest, 23999);
    EXPECT_LE(loudest, 24000);
}

TEST(RenderPeal, SilentPreRollGivesSilence)
{
    TestBells bells;
    bells.Make(8000, 3000, 0, [](int, std::int32_t k) { return static_cast<std::int16_t>(k % 2 ? 9000 : -9000); });
    bells.bells[0].onset = bells.bells[0].sampleCount;  // bell 1 frees its slot without sounding
    TestJob job(bells, 5, StyleHome, 20000, 900, 2000, 1000, 0);
    RenderPeal(&job.params);
    EXPECT_EQ(std::count(job.output.begin(), job.output.end(), 0), 20000);
}

TEST(RenderPeal, FadeIsLinearToTheLastSample)
{
    constexpr std::int32_t total = 10000, fade = 4000;
    TestBells bells;
    bells.Make(8000, total + 10, 0, [](int, std::int32_t) { return std::int16_t{1000}; });
    TestJob job(bells, 5, StyleHome, total, 100, fade, 2 * total, 0);
    RenderPeal(&job.params);
    EXPECT_EQ(job.output[total - fade - 1], 24000);
    EXPECT_EQ(job.output[total - fade], 24000);
    EXPECT_EQ(job.output[total - fade / 2], 12000);
    EXPECT_EQ(job.output[total - 1], 6);  // 24000 / 4000
}

TEST(RenderPeal, LoudMixesSaturateInsteadOfWrapping)
{
    TestBells bells;
    bells.Make(8000, 3000, 0, [](int, std::int32_t k) {
        return static_cast<std::int16_t>(k < 1000 ? 1000 : k < 2000 ? 2000 : -2000);
    });
    TestJob job(bells, 5, StyleHome, 2800, 1000, 0, 10000, 0);
    RenderPeal(&job.params);
    EXPECT_EQ(job.output[999], 24000);
    EXPECT_EQ(job.output[1000], 32767);
    EXPECT_EQ(job.output[1999], 32767);
    EXPECT_EQ(job.output[2000], -32768);
}

TEST(RenderPeal, CancelBeforeTheStartWritesNothing)
{
    const MarkerBells bells;
    TestJob job(bells, 5, StyleHome, 20000, 9000, 5000, 100, 90);
    job.params.cancelRequested = true;
    RenderPeal(&job.params);
    EXPECT_TRUE(job.params.finished);
    EXPECT_EQ(job.params.samplesDone, 0);
    EXPECT_EQ(std::count(job.output.begin(), job.output.end(), 0x5A5A), 20000);
}

TEST(RenderPeal, CancelOnTheWorkerStopsEarlyAndSkipsTheFade)
{
    TestBells bells;
    bells.Make(8000, 8000, 0, [](int, std::int32_t k) { return static_cast<std::int16_t>(k % 7 * 1000); });
    constexpr std::int32_t total = 20'000'000;
    TestJob job(bells, 16, StyleStedman, total, 1000, 100000, 500, 450);
    std::thread worker(RenderPeal, &job.params);
    while (job.params.samplesDone < 5000)
        std::this_thread::yield();
    job.params.cancelRequested = true;
    worker.join();
    EXPECT_TRUE(job.params.finished);
    EXPECT_LT(job.params.samplesDone, total);
    EXPECT_EQ(job.output[total - 1], 0x5A5A);
}

// Rings the home row throughout and raises the job's cancel flag when it is
// asked for row `cancelAt`, that is at the strike that completes row cancelAt - 1.
struct CancellingRows : RowSource {
    RenderParams* job = nullptr;
    std::int32_t cancelAt = 0;
    std::vector<std::int32_t> asked;
    bool Next(std::int32_t rowIndex, Row&) override
    {
        asked.push_back(rowIndex);
        if (rowIndex == cancelAt)
            job->cancelRequested = true;
        return false;
    }
};

TEST(RenderPeal, ACancelDuringTheLastSpanStillLeavesAFadedCompleteOutput)
{
    TestBells bells;
    bells.Make(8000, 100, 0, [](int, std::int32_t) { return std::int16_t{1000}; });
    // Five bells 100 samples apart: the strike at sample 900 completes row 1,
    // and the span from there runs to the end of the output.
    TestJob job(bells, 5, StyleHome, 1000, 100, 200, 100, 0);
    CancellingRows rows;
    rows.job = &job.params;
    rows.cancelAt = 2;
    job.params.rows = &rows;
    RenderPeal(&job.params);
    EXPECT_EQ(rows.asked, (std::vector<std::int32_t>{1, 2}));
    ASSERT_EQ(job.params.samplesDone, 1000) << "counted complete";
    EXPECT_EQ(job.output[799], 24000);
    EXPECT_EQ(job.output[800], 24000) << "the first faded sample keeps its value";
    EXPECT_EQ(job.output[900], 12000);
    EXPECT_EQ(job.output[999], 120) << "so it is faded";
}

TEST(RenderPeal, RowsFromARowSourceAreRungInsteadOfTheStyle)
{
    const MarkerBells bells;
    // Rotates the row by one place at every row: 12345, 23451, 34512, ...
    struct Rotating : RowSource {
        bool Next(std::int32_t, Row& row) override
        {
            std::rotate(row.begin(), row.begin() + 1, row.begin() + 5);
            return false;
        }
    } rotating;
    TestJob job(bells, 5, StyleGrandsire, 5000, 250, 0, 50, 0);
    job.params.rows = &rotating;
    RenderPeal(&job.params);
    EXPECT_EQ(job.params.style, StyleGrandsire) << "the style is not rung";
    const std::vector<Strike> strikes = StrikesIn(job.output, 4800);
    ASSERT_EQ(strikes.size(), 100u);
    for (std::size_t k = 0; k < strikes.size(); ++k)
        EXPECT_EQ(strikes[k].bell, static_cast<int>((k / 5 + k % 5) % 5)) << "strike " << k;
}

TEST(RenderPeal, ASharedGeneratorRunsOnFromOneRenderToTheNext)
{
    const MarkerBells bells;
    auto render = [&](StrikeRandom* random, std::uint32_t seed) {
        RenderRequest request = TestJob::Request(StyleHome, 20, seed);
        request.random = random;
        std::vector<std::int16_t> output(20000);
        PealRender job(request, TestJob::Plan(bells, 5, StyleHome, 20000, 500, 0, 100, 0), bells.bells.data());
        EXPECT_TRUE(job.RenderInto(output.data()));
        job.Run();
        return output;
    };
    StrikeRandom shared(kDefaultStrikeSeed);
    const auto first = render(&shared, 12345);
    const auto second = render(&shared, 12345);
    EXPECT_EQ(first, render(nullptr, kDefaultStrikeSeed)) << "a fresh generator starts the same sequence";
    EXPECT_NE(first, second) << "the second render goes on with the sequence";
    EXPECT_EQ(render(nullptr, 12345), render(nullptr, 12345)) << "a seed repeats its render";
}

// --- The span renderer against the per-sample reference ---

// Decaying noise of a different length, onset and loudness for each bell.
struct NoiseBells : TestBells {
    NoiseBells()
    {
        for (int b = 0; b < 16; ++b) {
            const std::int32_t count = 2000 + 731 * b;
            std::uint32_t noise = 12345u + static_cast<std::uint32_t>(b);
            MakeOne(b, 8000, count, (b * 37) % 500, [&](int, std::int32_t k) {
                noise = noise * 1103515245u + 12345u;
                const std::int32_t raw = static_cast<std::int32_t>((noise >> 16) & 0x7FFF) - 16384;
                return static_cast<std::int16_t>(raw * (count - k) / count * (b + 4) / 20);
            });
        }
    }
};

struct JobShape {
    std::int16_t stage;
    MethodStyle style;
    std::int32_t total, preRoll, fade, interval, gap;
    std::int16_t strikingError;
};

// Returns the style the render ended with.
MethodStyle ExpectSameAsPlain(const TestBells& bells, const JobShape& s)
{
    TestJob fast(bells, s.stage, s.style, s.total, s.preRoll, s.fade, s.interval, s.gap, s.strikingError, 99);
    TestJob plain(bells, s.stage, s.style, s.total, s.preRoll, s.fade, s.interval, s.gap, s.strikingError, 99);
    RenderPeal(&fast.params);
    PlainRenderPeal(&plain.params);
    SCOPED_TRACE(::testing::Message() << "stage " << s.stage << ", style " << s.style << ", interval " << s.interval
                                      << ", error " << s.strikingError);
    EXPECT_EQ(fast.params.samplesDone, plain.params.samplesDone);
    EXPECT_EQ(fast.params.style, plain.params.style);
    EXPECT_TRUE(fast.PreRoll() == plain.PreRoll());
    const auto firstDifference = std::mismatch(fast.output.begin(), fast.output.end(), plain.output.begin());
    EXPECT_TRUE(firstDifference.first == fast.output.end())
        << "outputs differ first at sample " << (firstDifference.first - fast.output.begin());
    return fast.params.style;
}

TEST(RenderPealSpans, MatchThePlainRendererAtEveryStageAndStyle)
{
    const NoiseBells bells;
    // Ringing speeds of a real peal at 8000 Hz: 30 s of output, 9 s of pre-roll.
    for (const std::int16_t stage : {5, 6, 8, 10, 12, 14, 16})
        for (const MethodStyle style : {StyleHome, StyleTrebleBob, StyleGrandsire, StyleStedman, StylePrinciple})
            for (const std::int16_t error : {0, 50}) {
                const auto interval = static_cast<std::int32_t>(8000 * 10800.0 / 2500 / (2 * stage + 0.9));
                ExpectSameAsPlain(bells, {stage, style, 240000, 72000, 40000, interval,
                                          static_cast<std::int32_t>(interval * 0.9), error});
            }
}

TEST(RenderPealSpans, MatchThePlainRendererThroughComingHome)
{
    const NoiseBells bells;
    for (const MethodStyle style : {StyleTrebleBob, StyleGrandsire, StyleStedman, StylePrinciple})
        for (const std::int16_t stage : {5, 16})
            EXPECT_EQ(ExpectSameAsPlain(bells, {stage, style, 700000, 9000, 20000, 70, 60, 5}), StyleHome);
}

TEST(RenderPealSpans, MatchThePlainRendererAtTheEdges)
{
    NoiseBells bells;
    ExpectSameAsPlain(bells, {10, StyleGrandsire, 300000, 9000, 40000, 900, 700, 100});  // late strikes
    ExpectSameAsPlain(bells, {8, StyleStedman, 10000, 100, 0, 0, 0, 0});                 // a strike every sample
    ExpectSameAsPlain(bells, {12, StyleTrebleBob, 150000, 1000, 5000, 1200, 1000, 20});  // heavy saturation

    bells.bells[0].onset = bells.bells[0].sampleCount;
    ExpectSameAsPlain(bells, {6, StyleGrandsire, 100000, 3000, 10000, 4000, 4000, 0});  // silent pre-roll
}

// At rates far above any recording's the pre-roll is not held but mixed
// again from the blows that sounded in it: the same sound, sample for sample.
TEST(RenderPealSpans, APreRollMixedAgainFromItsBlowsIsTheHeldOne)
{
    const NoiseBells bells;
    for (const JobShape& s : {JobShape{16, StyleStedman, 100000, 72000, 40000, 900, 800, 50},
                              JobShape{8, StyleGrandsire, 20000, 100, 0, 0, 0, 0},  // a strike every sample
                              JobShape{12, StyleTrebleBob, 150000, 30000, 140000, 1200, 1000, 20}}) {
        TestJob held(bells, s.stage, s.style, s.total, s.preRoll, s.fade, s.interval, s.gap, s.strikingError, 5);
        TestJob replayed(bells, s.stage, s.style, s.total, s.preRoll, s.fade, s.interval, s.gap, s.strikingError, 5);
        BlowLog log;
        ASSERT_TRUE(log.Reserve(static_cast<std::size_t>(
            MostBlowsBefore(replayed.params, s.preRoll, replayed.params.striking->MostEarly()))));
        replayed.params.preRollBuffer = nullptr;
        replayed.params.preRollBlows = &log;
        RenderPeal(&held.params);
        RenderPeal(&replayed.params);
        EXPECT_TRUE(log.Complete());
        EXPECT_TRUE(held.output == replayed.output) << "stage " << s.stage;
    }

    struct Discard : SampleSink {
        bool Write(const std::int16_t*, std::size_t) override { return true; }
    } discard;
    for (const std::uint32_t rate : {44100u, 10000000u}) {
        TestBells markers;
        markers.Make(rate, 1, 0, [](int, std::int32_t) { return std::int16_t{100}; });
        RenderRequest request;
        request.bells = 5;
        PealRender render(request, PlanRender(request, markers.bells.data(), rate), markers.bells.data());
        ASSERT_TRUE(render.StreamTo(discard));
        EXPECT_EQ(render.Params().preRollBuffer == nullptr, rate > 1000000) << rate;
        EXPECT_EQ(render.Params().preRollBlows != nullptr, rate > 1000000) << rate;
    }
}

}  // namespace
