// Importing an MP3 as a bell, against the baseline of the mpg123 command
// decoding the same file to a WAV file, measured in the same run. The MP3
// is named by the environment variable CARILLIX_BENCH_MP3 (scripts/bench-import
// makes a 30-second stereo one); the commands run through the shell with
// their output discarded.
#include "sound/BellImport.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

std::string Mp3Path()
{
    const char* path = std::getenv("CARILLIX_BENCH_MP3");
    return path == nullptr ? std::string() : std::string(path);
}

std::string Scratch(const char* name)
{
    return "/tmp/carillix-import-bench-" + std::to_string(getpid()) + "-" + name;
}

void RunCommand(benchmark::State& state, const std::string& command)
{
    if (Mp3Path().empty()) {
        state.SkipWithError("set CARILLIX_BENCH_MP3 to an MP3 file");
        return;
    }
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError(("failed: " + command).c_str());
            break;
        }
    }
}

// Baseline: the mpg123 command decoding the file to WAV.
void Mpg123Command(benchmark::State& state)
{
    const std::string out = Scratch("mpg123.wav");
    RunCommand(state, "mpg123 -q -w " + out + " '" + Mp3Path() + "'");
    std::remove(out.c_str());
}

// The whole import as a command, process start-up and the WAV written included.
void CarillixCliImport(benchmark::State& state)
{
    const std::string out = Scratch("cli.wav");
    RunCommand(state, std::string(CARILLIX_CLI_PATH) + " import '" + Mp3Path() + "' -o " + out + " > /dev/null");
    std::remove(out.c_str());
}

// The import inside the application: header search, decoding, mono conversion, onset.
void ImportInProcess(benchmark::State& state)
{
    const std::string path = Mp3Path();
    if (path.empty()) {
        state.SkipWithError("set CARILLIX_BENCH_MP3 to an MP3 file");
        return;
    }
    CSoundBuffer bell;
    for (auto _ : state) {
        if (LoadBellFile(bell, path) != LoadOK) {
            state.SkipWithError("the MP3 did not load");
            break;
        }
        benchmark::DoNotOptimize(bell.samples.get());
    }
    state.counters["samples"] = bell.sampleCount;
}

}  // namespace

BENCHMARK(Mpg123Command)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(CarillixCliImport)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ImportInProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

BENCHMARK_MAIN();
