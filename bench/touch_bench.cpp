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
#include "sound/SoundFileWriter.h"
#include "synth/DemoBells.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr double kPlainProcessSamples = 700.0 * 44100;  // plain_render_process's job

struct ProcessRun {
    double seconds = -1;  // -1: it could not be started or did not exit with status 0
    double peakMegabytes = 0;
};

ProcessRun RunProcess(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    ProcessRun run;
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return run;
    int status = 0;
    rusage usage{};
    if (wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Folder {
    Folder()
    {
        char pattern[] = "/tmp/carillix-touch-bench-XXXXXX";
        if (mkdtemp(pattern) != nullptr)
            path = pattern;
    }
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

void WholeTouchAgainstPlainLoopAndDurableCopy(benchmark::State& state)
{
    const Folder folder;
    const std::string wav = folder.path + "/touch.wav";
    std::vector<double> commandSeconds, baselineSeconds, ratios, peaks;
    for (auto _ : state) {
        const ProcessRun command = RunProcess({CARILLIX_CLI_PATH, "render", "--method", "Cambridge Surprise Sixteen",
                                               "--peal-speed", "4h00", "--length", "touch", "--demo-bells", "-o", wav});
        std::error_code error;
        const auto bytes = std::filesystem::file_size(wav, error);
        const ProcessRun plain = RunProcess({CARILLIX_PLAIN_RENDER_PATH});
        const ProcessRun copy =
            RunProcess({"/bin/dd", "if=/dev/zero", "of=" + folder.path + "/copy", "bs=1M",
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
        std::filesystem::remove(folder.path + "/copy", error);
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
    const Folder folder;
    std::vector<std::string> arguments{CARILLIX_CLI_PATH, "render",         "--method", "Cambridge Surprise Royal",
                                       "--calls",         "sppspbsspbbpbp", "--length", "touch"};
    for (int b = 0; b < 10; ++b) {
        CSoundBuffer bell;
        const std::string path = folder.path + "/bell" + std::to_string(b) + ".wav";
        if (!MakeDemoBell(b, bell, 48000) || !SaveWavTo(bell, path)) {
            state.SkipWithError("no bells");
            return;
        }
        arguments.push_back(path);
    }
    arguments.insert(arguments.end(), {"-o", folder.path + "/peal.wav"});
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
        static_cast<double>(std::filesystem::file_size(folder.path + "/peal.wav", error) - 48) / 2 / 48000 / 3600;
    state.counters["peak_rss_MB"] = peak;
}
BENCHMARK(ThreeHourPealAt48000)->UseManualTime()->Iterations(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
