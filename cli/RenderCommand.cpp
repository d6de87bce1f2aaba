#include "base/ParseInteger.h"
#include "cli/Args.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/MethodOptions.h"
#include "cli/RenderOutput.h"
#include "cli/StrikingOptions.h"
#include "ringing/TouchStepper.h"
#include "sound/BellImport.h"
#include "synth/DemoBells.h"
#include "synth/JobBuilder.h"
#include "synth/RenderPeal.h"
#include "synth/StrikeRandom.h"

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace {

constexpr const char* kCommand = "render";

constexpr const char* kUsage =
    "usage: carillix-cli render [options] BELL... -o OUT.wav\n"
    "       carillix-cli render [options] --demo-bells -o OUT.wav\n";

constexpr const char* kHelp =
    "Renders change ringing from one recorded strike per bell, as the application's\n"
    "\"Generate Output\" does, and writes it to OUT, mono at the bells' common sample\n"
    "rate. The first BELL is bell 1, the treble.\n"
    "\n"
    "  --bells N              5 6 8 10 12 14 16 (default 10)\n"
    "  --style S              home, treble-bob, grandsire, stedman or principle\n"
    "                         (default home); principle below sixteen bells rings Stedman\n"
    "  --peal-speed T         2h45 3h00 3h15 3h30 3h45 4h00 (default 3h00)\n"
    "  --striking-error P     percent of a strike interval, 0..100 (default 5)\n"
    "  --length SECONDS       output length, 10..700 (default 10)\n"
    "  --seed N               seed of the striking error, 0..4294967295 (default 1)\n"
    "  --demo-bells           ring the sixteen built-in bells instead of files\n";

constexpr std::array<const char*, 6> kPealSpeeds{"2h45", "3h00", "3h15", "3h30", "3h45", "4h00"};

struct RenderOptions {
    GenerationSettings settings;
    std::uint32_t seed = kDefaultStrikeSeed;
    bool demoBells = false;
    std::string output;
    StrikingSettings striking;
    RenderOutput files;
};

// Fills `options` from the command line; returns the exit status of a usage error.
std::optional<int> ReadOptions(const Args& args, RenderOptions& options)
{
    GenerationSettings& settings = options.settings;
    settings.bellCountIndex = BellCountIndex(10);
    if (const auto text = args.Value("--bells"); text && !WantsTouch(args)) {
        const auto stage = ParseStage(*text);
        if (!stage)
            return UsageError(kCommand, "--bells must be one of 5 6 8 10 12 14 16", kUsage);
        settings.bellCountIndex = BellCountIndex(*stage);
    }
    if (const auto text = args.Value("--style")) {
        const auto style = ParseStyle(*text);
        if (!style)
            return UsageError(kCommand, "unknown style '" + *text + "'", kUsage);
        settings.style = *style;
    }
    settings.pealSpeedIndex = 1;
    if (const auto text = args.Value("--peal-speed")) {
        settings.pealSpeedIndex = -1;
        for (std::size_t index = 0; index < kPealSpeeds.size(); ++index)
            if (*text == kPealSpeeds[index])
                settings.pealSpeedIndex = static_cast<std::int32_t>(index);
        if (settings.pealSpeedIndex < 0)
            return UsageError(kCommand, "--peal-speed must be one of 2h45 3h00 3h15 3h30 3h45 4h00", kUsage);
    }
    settings.strikingError = 5;
    if (const auto text = args.Value("--striking-error")) {
        const auto percent = ParseInteger(*text, 0, 100);
        if (!percent)
            return UsageError(kCommand, "--striking-error must be a whole number from 0 to 100", kUsage);
        settings.strikingError = static_cast<std::int16_t>(*percent);
    }
    settings.lengthSeconds = 10;
    if (const auto text = args.Value("--length")) {
        // Any whole number; the job builder refuses lengths outside 10..700 with its own text.
        const auto seconds = ParseInteger(*text, INT32_MIN, INT32_MAX);
        if (!seconds)
            return UsageError(kCommand, "--length must be a whole number of seconds", kUsage);
        settings.lengthSeconds = static_cast<std::int32_t>(*seconds);
    }
    if (const auto text = args.Value("--seed")) {
        const auto seed = ParseInteger(*text, 0, UINT32_MAX);
        if (!seed)
            return UsageError(kCommand, "--seed must be a whole number from 0 to 4294967295", kUsage);
        options.seed = static_cast<std::uint32_t>(*seed);
    }
    options.demoBells = args.Flag("--demo-bells");
    if (options.demoBells && !args.Positional().empty())
        return UsageError(kCommand, "give bell files or --demo-bells, not both", kUsage);
    if (args.Positional().size() > kMaxBells)
        return UsageError(kCommand, "at most 16 bell files", kUsage);
    const auto output = OutputPath(args);
    if (!output)
        return UsageError(kCommand, "no output file given (-o OUT.wav)", kUsage);
    options.output = *output;
    if (const auto why = ReadStrikingOptions(args, options.striking))
        return UsageError(kCommand, *why, kUsage);
    if (const auto why = ChooseRenderOutput(args, options.output, options.files))
        return UsageError(kCommand, *why, kUsage);
    return std::nullopt;
}

// Loads the bells in order under the same-sample-rate rule; prints why not and returns false on failure.
bool LoadBells(const RenderOptions& options, const Args& args, std::array<CSoundBuffer, kMaxBells>& bells,
               std::uint32_t& commonSampleRate)
{
    if (options.demoBells) {
        for (int index = 0; index < kMaxBells; ++index)
            if (!MakeDemoBell(index, bells[index])) {
                std::fputs("not enough memory for the demo bells\n", stderr);
                return false;
            }
        commonSampleRate = kDemoBellRate;
        return true;
    }
    for (std::size_t index = 0; index < args.Positional().size(); ++index) {
        const std::string& path = args.Positional()[index];
        const LoadResult result = LoadBellFile(bells[index], path);
        if (result != LoadOK) {
            PrintLoadFailure(path, result);
            return false;
        }
        if (!ApplySampleRateRule(bells[index], commonSampleRate)) {
            std::fprintf(stderr, "%s\n", kSampleRateMismatchText);
            return false;
        }
    }
    return true;
}

void DrawProgress(std::int32_t done, std::int32_t total)
{
    constexpr int kWidth = 40;
    const int percent = total > 0 ? static_cast<int>(std::int64_t{done} * 100 / total) : 100;
    char bar[kWidth + 1];
    for (int k = 0; k < kWidth; ++k)
        bar[k] = k < percent * kWidth / 100 ? '#' : '.';
    bar[kWidth] = '\0';
    std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
    std::fflush(stderr);
}

// Runs the render on a worker thread, as the application does, and returns
// as soon as the worker has been joined. On a terminal a progress bar is
// redrawn every 100 ms meanwhile.
void RunRender(RenderParams& params)
{
    const bool showProgress = isatty(STDERR_FILENO) != 0;
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    try {
        std::thread worker([&] {
            RenderPeal(&params);
            const std::lock_guard<std::mutex> guard(lock);
            done = true;
            finished.notify_one();
        });
        if (showProgress) {
            std::unique_lock<std::mutex> waiting(lock);
            while (!finished.wait_for(waiting, std::chrono::milliseconds(100), [&] { return done; }))
                DrawProgress(params.samplesDone.load(std::memory_order_relaxed), params.totalSamples);
        }
        worker.join();
    } catch (const std::system_error&) {
        RenderPeal(&params);  // no thread to be had: render here instead
    }
    if (showProgress) {
        DrawProgress(params.samplesDone, params.totalSamples);
        std::fputc('\n', stderr);
    }
}

}  // namespace

int RunRender(int argc, char** argv, int first)
{
    Args args(argc, argv, first);
    for (const char* option : {"--bells", "--style", "--peal-speed", "--striking-error", "--length", "--seed"})
        args.AddValueOption(option);
    args.AddFlag("--demo-bells");
    AddOutputOption(args);
    AddTouchOptions(args);
    AddStrikingOptions(args);
    AddTimingOption(args);
    const std::string help = std::string(kHelp) + kTouchOptionsHelp + kStrikingHelp + kRenderOutputHelp;
    if (const auto status = ParseCommandLine(args, kCommand, kUsage, help.c_str()))
        return *status;
    RenderOptions options;
    if (const auto status = ReadOptions(args, options))
        return *status;
    std::optional<TouchChoice> touch;
    if (const auto status = ReadTouchOptions(args, kCommand, kUsage, touch))
        return *status;

    std::array<CSoundBuffer, kMaxBells> bells;
    if (!LoadBells(options, args, bells, options.settings.commonSampleRate))
        return 1;
    const JobBuild build = touch ? BuildTouchJob(options.settings, touch->bells, bells.data())
                                 : BuildGenerationJob(options.settings, bells.data());
    if (!build.ok) {
        std::fprintf(stderr, "%s\n", build.refusal.c_str());
        return 1;
    }
    if (const auto why = CheckOddBells(options.striking, build.job.stage))
        return UsageError(kCommand, *why, kUsage);
    if (const auto why = CheckOutputRate(options.files, options.settings.commonSampleRate)) {
        std::fprintf(stderr, "%s\n", why->c_str());
        return 1;
    }

    CSoundBuffer output;
    const GenerationJob& job = build.job;
    std::unique_ptr<double[]> preRoll(new (std::nothrow) double[static_cast<std::size_t>(job.preRollSamples)]);
    if (!preRoll || !output.InitPcm16(options.settings.commonSampleRate, job.totalSamples, 16)) {
        std::fputs("not enough memory for this length\n", stderr);
        return 1;
    }
    RenderParams params;
    ApplyJob(job, params);
    StrikingSetup striking(options.striking, job.strikeInterval, job.strikingError, options.settings.commonSampleRate,
                           options.seed);
    BlowLog blows;
    if (!blows.Reserve(static_cast<std::size_t>(MostBlowsRung(params, striking.Model().MostEarly())))) {
        std::fputs("not enough memory for this length\n", stderr);
        return 1;
    }
    params.preRollBuffer = preRoll.get();
    params.output = output.samples.get();
    params.bells = bells.data();
    params.seed = options.seed;
    std::optional<TouchStepper> stepper;
    if (touch)
        params.rows = &stepper.emplace(touch->touch);
    params.striking = &striking.Model();
    params.blows = &blows;
    RunRender(params);

    if (!blows.Complete() || !SaveRenderOutput(output, blows, options.files)) {
        std::fputs("Error writing file!\n", stderr);
        return 1;
    }
    return 0;
}
