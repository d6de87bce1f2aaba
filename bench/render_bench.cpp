// The worst render job (700 s at 48000 samples a second, sixteen bells ringing
// Principle at the fastest peal speed) through the span renderer and through
// the plain per-sample reference, and through the span renderer with the
// human striking model (25 ms RMS) against the uniform one, in the same run;
// prints the time ratios.
#include "ringing/Row.h"
#include "sound/SoundBuffer.h"
#include "synth/DemoBells.h"
#include "synth/PealRender.h"
#include "tests/synth/PlainRenderPeal.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

struct WorstJob {
    std::array<CSoundBuffer, kMaxBells> bells;
    RenderRequest request;
    RenderPlan plan;
    std::vector<std::int16_t> output;

    WorstJob()
    {
        for (int b = 0; b < 16; ++b)
            MakeDemoBell(b, bells[b], 48000);
        request.lengthSeconds = 700;
        request.bells = 16;
        request.pealSeconds = PealSecondsForListIndex(0);
        request.style = StylePrinciple;
        plan = PlanRender(request, bells.data(), 48000);
        output.resize(static_cast<std::size_t>(plan.totalSamples));
    }

    // Renders the whole job with `render` and the striking model `model`;
    // returns the thread's CPU seconds, which other work on a shared machine
    // does not inflate.
    double Run(RenderFunction render, StrikingModelKind model = StrikingModelKind::Uniform)
    {
        RenderRequest modelled = request;
        modelled.striking.model = model;
        PealRender job(modelled, plan, bells.data(), render);
        job.RenderInto(output.data());
        const double start = ThreadSeconds();
        job.Run();
        benchmark::DoNotOptimize(output.data());
        return ThreadSeconds() - start;
    }
};

WorstJob& Job()
{
    static WorstJob job;
    return job;
}

double spanSeconds = 0;
double plainSeconds = 0;
double humanRatio = 0;

void Measure(benchmark::State& state, RenderFunction render, double& meanSeconds)
{
    WorstJob& job = Job();
    double total = 0;
    for (auto _ : state) {
        const double seconds = job.Run(render);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    meanSeconds = total / static_cast<double>(state.iterations());
    state.counters["x_realtime"] = 700.0 / meanSeconds;
}

void SpanRenderer(benchmark::State& state)
{
    Measure(state, RenderPeal, spanSeconds);
}
BENCHMARK(SpanRenderer)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

std::uint32_t PlainRender(RenderParams* params)
{
    PlainRenderPeal(params);
    return 0;
}

// Each iteration renders the job with the uniform model and with the human
// one, in turn, so that load from elsewhere falls on both alike; the ratio
// is that of their fastest renders.
void HumanStrikingModel(benchmark::State& state)
{
    WorstJob& job = Job();
    double fastestUniform = 1e9, fastestHuman = 1e9, total = 0;
    for (auto _ : state) {
        fastestUniform = std::min(fastestUniform, job.Run(RenderPeal));
        const double seconds = job.Run(RenderPeal, StrikingModelKind::Human);
        fastestHuman = std::min(fastestHuman, seconds);
        state.SetIterationTime(seconds);
        total += seconds;
    }
    humanRatio = fastestHuman / fastestUniform;
    state.counters["x_realtime"] = 700.0 * static_cast<double>(state.iterations()) / total;
    state.counters["human_over_uniform"] = humanRatio;
}
BENCHMARK(HumanStrikingModel)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

void PlainPerSampleRenderer(benchmark::State& state)
{
    Measure(state, PlainRender, plainSeconds);
}
BENCHMARK(PlainPerSampleRenderer)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    if (spanSeconds > 0 && plainSeconds > 0)
        std::printf("span renderer / plain per-sample loop: %.4f of the time (%.1fx faster)\n",
                    spanSeconds / plainSeconds, plainSeconds / spanSeconds);
    if (humanRatio > 0)
        std::printf("human striking model / uniform model: %.3f of the time\n", humanRatio);
    benchmark::Shutdown();
    return 0;
}
