#pragma once

#include "ringing/Row.h"
#include "sound/SoundBuffer.h"
#include "synth/PealRender.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// Sixteen bell records made in memory, loaded (state 1) at `rate`.
struct TestBells {
    std::array<CSoundBuffer, kMaxBells> bells;

    // Bell b gets `count` samples with sample k = value(b, k) and the given onset.
    void Make(std::uint32_t rate, std::int32_t count, std::int32_t onset,
              const std::function<std::int16_t(int b, std::int32_t k)>& value)
    {
        for (int b = 0; b < 16; ++b)
            MakeOne(b, rate, count, onset, value);
    }

    void MakeOne(int b, std::uint32_t rate, std::int32_t count, std::int32_t onset,
                 const std::function<std::int16_t(int b, std::int32_t k)>& value)
    {
        CSoundBuffer& bell = bells[b];
        bell.InitPcm16(rate, count, 16);
        for (std::int32_t k = 0; k < count; ++k)
            bell.samples[k] = value(b, k);
        bell.onset = onset;
        bell.state = 1;
    }
};

// Bells one sample long whose value tells which bell struck: on five bells
// the pre-roll's peak is bell 5 (500), so bell b shows as (b + 1) * 4800.
struct MarkerBells : TestBells {
    MarkerBells()
    {
        Make(8000, 1, 0, [](int b, std::int32_t) { return static_cast<std::int16_t>((b + 1) * 100); });
    }
};

// A render job with the given numbers, set up by PealRender (rows of the
// style, the uniform model of strikingError and seed) over its own output
// array, ready to run: RenderPeal(&job.params) or the reference renderer.
struct TestJob {
    std::vector<std::int16_t> output;
    PealRender render;
    RenderParams& params;

    TestJob(const TestBells& bells, std::int16_t stage, MethodStyle style, std::int32_t total,
            std::int32_t preRollSamples, std::int32_t fade, std::int32_t interval, std::int32_t gap,
            std::int16_t strikingError = 0, std::uint32_t seed = 1)
        : output(static_cast<std::size_t>(total), std::int16_t{0x5A5A}),
          render(Request(style, strikingError, seed),
                 Plan(bells, stage, style, total, preRollSamples, fade, interval, gap), bells.bells.data()),
          params(render.Params())
    {
        EXPECT_TRUE(render.RenderInto(output.data()));
    }

    std::vector<double> PreRoll() const { return {params.preRollBuffer, params.preRollBuffer + params.preRollSamples}; }

    static RenderRequest Request(MethodStyle style, std::int16_t strikingError, std::uint32_t seed)
    {
        RenderRequest request;
        request.style = style;
        request.strikingError = strikingError;
        request.seed = seed;
        return request;
    }

    static RenderPlan Plan(const TestBells& bells, std::int16_t stage, MethodStyle style, std::int32_t total,
                           std::int32_t preRollSamples, std::int32_t fade, std::int32_t interval, std::int32_t gap)
    {
        RenderPlan plan;
        plan.ok = true;
        plan.stage = stage;
        plan.style = style;
        plan.rate = bells.bells[0].format.sampleRate;
        plan.totalSamples = total;
        plan.preRollSamples = preRollSamples;
        plan.fadeSamples = fade;
        plan.strikeInterval = interval;
        plan.handstrokeGap = gap;
        return plan;
    }
};
