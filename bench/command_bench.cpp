// The whole `carillix-cli render` of the longest job (700 s, sixteen built-in
// bells at 44100 samples a second, Principle at 2h45; making the bells,
// rendering, and the durable write of the WAV file) against a whole process
// that only renders the same job through the plain per-sample loop
// (plain_render_process). The two run in alternating pairs in one run, so a
// busy machine slows both alike; the figure is the median of the pairs'
// ratios (command / plain process). The target is at most 0.5.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Runs a program to its end; returns its wall-clock seconds, or -1 when it
// could not be started or did not exit with status 0.
double RunProcess(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void WholeCommandAgainstPlainLoopProcess(benchmark::State& state)
{
    char folder[] = "/tmp/carillix-command-bench-XXXXXX";
    if (mkdtemp(folder) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    const std::string output = std::string(folder) + "/longest.wav";
    std::vector<double> commandSeconds, plainSeconds, ratios;
    for (auto _ : state) {
        const double command = RunProcess({CARILLIX_CLI_PATH, "render", "--demo-bells", "--bells", "16", "--style",
                                           "principle", "--peal-speed", "2h45", "--length", "700", "-o", output});
        const double plain = RunProcess({CARILLIX_PLAIN_RENDER_PATH});
        if (command < 0 || plain < 0) {
            state.SkipWithError("a process failed");
            break;
        }
        state.SetIterationTime(command);
        commandSeconds.push_back(command);
        plainSeconds.push_back(plain);
        ratios.push_back(command / plain);
    }
    std::remove(output.c_str());
    rmdir(folder);
    if (ratios.empty())
        return;
    state.counters["command_s"] = Median(commandSeconds);
    state.counters["plain_process_s"] = Median(plainSeconds);
    state.counters["median_ratio"] = Median(ratios);
}
BENCHMARK(WholeCommandAgainstPlainLoopProcess)->UseManualTime()->Iterations(9)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
