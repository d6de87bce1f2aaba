// The worst render job (700 s at 48000 samples a second, sixteen bells ringing
// Principle at the fastest peal speed) through the span renderer and through
// the plain per-sample reference, and through the span renderer with the
// human striking model (25 ms RMS) against the uniform one, in the same run;
// prints the time ratios.
#include "ringing/Row.h"
#include "sound/SoundBuffer.h"
#include "synth/DemoBells.h"
#include "synth/JobBuilder.h"
#include "synth/RenderPeal.h"
#include "synth/StrikingSetup.h"
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
    GenerationJob job;
    std::vector<std::int16_t> output;
    std::vector<double> preRoll;

    WorstJob()
    {
        for (int b = 0; b < 16; ++b)
            MakeDemoBell(b, bells[b], 48000);
        GenerationSettings settings;
        settings.lengthSeconds = 700;
        settings.bellCountIndex = 6;
        settings.pealSpeedIndex = 0;
        settings.commonSampleRate = 48000;
        settings.style = StylePrinciple;
        job = BuildGenerationJob(settings, bells.data()).job;
        output.resize(static_cast<std::size_t>(job.totalSamples));
        preRoll.resize(static_cast<std::size_t>(job.preRollSamples));
    }

    // Renders the whole job with `render`; returns the thread's CPU seconds,
    // which other work on a shared machine does not inflate.
    template <typename Render>
    double Run(Render render)
    {
        RenderParams params;
        ApplyJob(job, params);
        params.bells = bells.data();
        params.output = output.data();
        params.preRollBuffer = preRoll.data();
        const double start = ThreadSeconds();
        render(&params);
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

template <typename Render>
void Measure(benchmark::State& state, Render render, double& meanSeconds)
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

// A fresh model for every render: a model serves one render.
std::uint32_t RenderHuman(RenderParams* params)
{
    StrikingSettings settings;
    settings.model = StrikingModelKind::Human;
    StrikingSetup striking(settings, params->strikeInterval, params->strikingError, 48000, kDefaultStrikeSeed);
    params->striking = &striking.Model();
    return RenderPeal(params);
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
        const double seconds = job.Run(RenderHuman);
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
    Measure(state, PlainRenderPeal, plainSeconds);
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
