#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

// Timing for the benchmarks: whole processes, compared in alternating pairs,
// and the CPU time of the calling thread.

// What running a program to its end took.
struct ProcessRun {
    double seconds = -1;       // wall-clock; -1 when it could not be started or did not exit with status 0
    double peakMegabytes = 0;  // its peak resident memory
};

// Runs a program (a path, or a name looked up on PATH) to its end with its
// standard output thrown away.
inline ProcessRun RunProcess(std::vector<std::string> arguments)
{
    extern char** environ;
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ProcessRun run;
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return run;
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// The calling thread's CPU seconds so far, which other work on a shared
// machine does not inflate.
inline double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// Runs `command` and `baseline` to their ends in alternating pairs, one pair
// an iteration, so that a busy machine slows both alike; the iteration's
// time is the command's. Reports the medians of their seconds as
// "command_s" and `baselineCounter`, and the median of the pairs' ratios
// (command / baseline) as "median_ratio". Skips with `failure` when either
// fails.
inline void RunAlternatingPairs(benchmark::State& state, const std::vector<std::string>& command,
                                const std::vector<std::string>& baseline, const std::string& baselineCounter,
                                const char* failure)
{
    std::vector<double> commandSeconds, baselineSeconds, ratios;
    for (auto _ : state) {
        const double commandRun = RunProcess(command).seconds;
        const double baselineRun = RunProcess(baseline).seconds;
        if (commandRun < 0 || baselineRun < 0) {
            state.SkipWithError(failure);
            break;
        }
        state.SetIterationTime(commandRun);
        commandSeconds.push_back(commandRun);
        baselineSeconds.push_back(baselineRun);
        ratios.push_back(commandRun / baselineRun);
    }
    if (ratios.empty())
        return;
    state.counters["command_s"] = Median(commandSeconds);
    state.counters[baselineCounter] = Median(baselineSeconds);
    state.counters["median_ratio"] = Median(ratios);
}
