// Long renders, written as they go. The whole `carillix-cli render` of a
// plain course of Cambridge Surprise Sixteen to the end of the touch at 4h00
// (about 46 minutes of sound on the sixteen built-in bells at 44100 samples
// a second) against a baseline measured in the same run: the plain
// per-sample loop of the 700 s job (plain_render_process) scaled to the same
// number of samples, plus a durable copy of the same bytes (dd conv=fsync).
// The two run in alternating pairs; the figure is the median of the pairs'
// ratios, target at most 0.5. The command's peak resident memory (wait4's
// rusage) is reported too, target at most 150 MB, and so is that of a
// 3-hour peal (5040 changes of Cambridge Surprise Royal at 3h00) on bells at
// 48000 samples a second.
#include "bench/BenchTiming.h"
#include "sound/SoundFileWriter.h"
#include "synth/DemoBells.h"
#include "tests/sound/TempFolder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr double kPlainProcessSamples = 700.0 * 44100;  // plain_render_process's job

void WholeTouchAgainstPlainLoopAndDurableCopy(benchmark::State& state)
{
    const TempFolder folder;
    const std::string wav = folder.Path("touch.wav");
    std::vector<double> commandSeconds, baselineSeconds, ratios, peaks;
    for (auto _ : state) {
        const ProcessRun command = RunProcess({CARILLIX_CLI_PATH, "render", "--method", "Cambridge Surprise Sixteen",
                                               "--peal-speed", "4h00", "--length", "touch", "--demo-bells", "-o", wav});
        std::error_code error;
        const auto bytes = std::filesystem::file_size(wav, error);
        const ProcessRun plain = RunProcess({CARILLIX_PLAIN_RENDER_PATH});
        const ProcessRun copy =
            RunProcess({"/bin/dd", "if=/dev/zero", "of=" + folder.Path("copy"), "bs=1M",
                        "count=" + std::to_string(bytes), "iflag=count_bytes", "conv=fsync", "status=none"});
        if (command.seconds < 0 || plain.seconds < 0 || copy.seconds < 0 || error) {
            state.SkipWithError("a process failed");
            break;
        }
        const double samples = static_cast<double>(bytes - 48) / 2;
        const double baseline = plain.seconds * samples / kPlainProcessSamples + copy.seconds;
        state.SetIterationTime(command.seconds);
        commandSeconds.push_back(command.seconds);
        baselineSeconds.push_back(baseline);
        ratios.push_back(command.seconds / baseline);
        peaks.push_back(command.peakMegabytes);
        std::filesystem::remove(folder.Path("copy"), error);
    }
    if (ratios.empty())
        return;
    state.counters["command_s"] = Median(commandSeconds);
    state.counters["baseline_s"] = Median(baselineSeconds);
    state.counters["median_ratio"] = Median(ratios);
    state.counters["peak_rss_MB"] = *std::max_element(peaks.begin(), peaks.end());
}
BENCHMARK(WholeTouchAgainstPlainLoopAndDurableCopy)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void ThreeHourPealAt48000(benchmark::State& state)
{
    const TempFolder folder;
    std::vector<std::string> arguments{CARILLIX_CLI_PATH, "render",         "--method", "Cambridge Surprise Royal",
                                       "--calls",         "sppspbsspbbpbp", "--length", "touch"};
    for (int b = 0; b < 10; ++b) {
        CSoundBuffer bell;
        const std::string path = folder.Path("bell" + std::to_string(b) + ".wav");
        if (!MakeDemoBell(b, bell, 48000) || !SaveWavTo(bell, path)) {
            state.SkipWithError("no bells");
            return;
        }
        arguments.push_back(path);
    }
    arguments.insert(arguments.end(), {"-o", folder.Path("peal.wav")});
    double peak = 0;
    for (auto _ : state) {
        const ProcessRun run = RunProcess(arguments);
        if (run.seconds < 0) {
            state.SkipWithError("the render failed");
            break;
        }
        state.SetIterationTime(run.seconds);
        peak = std::max(peak, run.peakMegabytes);
    }
    std::error_code error;
    state.counters["sound_h"] =
        static_cast<double>(std::filesystem::file_size(folder.Path("peal.wav"), error) - 48) / 2 / 48000 / 3600;
    state.counters["peak_rss_MB"] = peak;
}
BENCHMARK(ThreeHourPealAt48000)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
