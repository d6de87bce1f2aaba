// The whole `carillix-cli render` of the longest job (700 s, sixteen built-in
// bells at 44100 samples a second, Principle at 2h45; making the bells,
// rendering, and the durable write of the WAV file) against a whole process
// that only renders the same job through the plain per-sample loop
// (plain_render_process). The two run in alternating pairs in one run, so a
// busy machine slows both alike; the figure is the median of the pairs'
// ratios (command / plain process). The target is at most 0.5.
#include "bench/BenchTiming.h"
#include "tests/sound/TempFolder.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

void WholeCommandAgainstPlainLoopProcess(benchmark::State& state)
{
    const TempFolder folder;
    RunAlternatingPairs(state,
                        {CARILLIX_CLI_PATH, "render", "--demo-bells", "--bells", "16", "--style", "principle",
                         "--peal-speed", "2h45", "--length", "700", "-o", folder.Path("longest.wav")},
                        {CARILLIX_PLAIN_RENDER_PATH}, "plain_process_s", "a process failed");
}
BENCHMARK(WholeCommandAgainstPlainLoopProcess)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
