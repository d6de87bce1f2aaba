#include "base/ParseInteger.h"
#include "cli/Args.h"
#include "cli/CommandSupport.h"
#include "cli/Commands.h"
#include "cli/MethodOptions.h"
#include "cli/PealSpeed.h"
#include "cli/RefusalDetails.h"
#include "cli/RenderOutput.h"
#include "cli/StrikingOptions.h"
#include "sound/BellImport.h"
#include "synth/DemoBells.h"
#include "synth/PealRender.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <string>
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
    "  --peal-speed T         the time of a peal of 5000 changes, 1h30 to 5h00, such as\n"
    "                         2h45 or \"3h 10\" (default 3h00)\n"
    "  --striking-error P     percent of a strike interval, 0..100 (default 5)\n"
    "  --length SECONDS       output length, 10..700 (default 10)\n"
    "  --length touch         the whole touch: rounds, the touch until it comes round,\n"
    "                         four rows of rounds and a 5 s fade; --style home rings\n"
    "                         eight rows of rounds. Any length: beyond 700 s the file\n"
    "                         is written as the render goes\n"
    "  --seed N               seed of the striking error, 0..4294967295 (default 1)\n"
    "  --demo-bells           ring the sixteen built-in bells instead of files\n";

// The longest render held in memory before it is written, as the application's.
constexpr std::int64_t kLongestInMemorySeconds = 700;

struct RenderOptions {
    RenderRequest request;
    bool demoBells = false;
    RenderOutput files;
};

// --length SECONDS or --length touch, the last number given counting.
std::optional<std::string> ReadLength(const Args& args, RenderRequest& request)
{
    bool touch = false;
    bool seconds = false;
    for (const std::string& text : args.Values("--length")) {
        if (text == "touch") {
            touch = true;
            continue;
        }
        // Any whole number; the plan refuses lengths outside 10..700 with the application's text.
        const auto value = ParseInteger(text, INT32_MIN, INT32_MAX);
        if (!value)
            return "--length must be a whole number of seconds or 'touch'";
        request.lengthSeconds = static_cast<std::int32_t>(*value);
        seconds = true;
    }
    if (touch && seconds)
        return "give --length touch or --length SECONDS, not both";
    request.wholeTouch = touch;
    return std::nullopt;
}

// Fills `options` from the command line; returns the exit status of a usage error.
std::optional<int> ReadOptions(const Args& args, RenderOptions& options)
{
    RenderRequest& request = options.request;
    if (const auto text = args.Value("--bells"); text && !WantsTouch(args)) {
        const auto stage = ParseStage(*text);
        if (!stage)
            return UsageError(kCommand, "--bells must be one of 5 6 8 10 12 14 16", kUsage);
        request.bells = *stage;
    }
    if (const auto text = args.Value("--style")) {
        const auto style = ParseStyle(*text);
        if (!style)
            return UsageError(kCommand, UnknownStyle(*text), kUsage);
        request.style = *style;
    }
    if (const auto text = args.Value("--peal-speed")) {
        const auto seconds = ParsePealSpeed(*text);
        if (!seconds)
            return UsageError(kCommand, "--peal-speed must be a time from 1h30 to 5h00, such as 2h45 or \"3h 10\"",
                              kUsage);
        request.pealSeconds = *seconds;
    }
    if (const auto text = args.Value("--striking-error")) {
        const auto percent = ParseInteger(*text, 0, 100);
        if (!percent)
            return UsageError(kCommand, "--striking-error must be a whole number from 0 to 100", kUsage);
        request.strikingError = static_cast<std::int16_t>(*percent);
    }
    if (const auto why = ReadLength(args, request))
        return UsageError(kCommand, *why, kUsage);
    if (const auto text = args.Value("--seed")) {
        const auto seed = ParseInteger(*text, 0, UINT32_MAX);
        if (!seed)
            return UsageError(kCommand, "--seed must be a whole number from 0 to 4294967295", kUsage);
        request.seed = static_cast<std::uint32_t>(*seed);
    }
    options.demoBells = args.Flag("--demo-bells");
    if (options.demoBells && !args.Positional().empty())
        return UsageError(kCommand, "give bell files or --demo-bells, not both", kUsage);
    if (args.Positional().size() > kMaxBells)
        return UsageError(kCommand, "at most 16 bell files", kUsage);
    const auto output = OutputPath(args);
    if (!output)
        return UsageError(kCommand, "no output file given (-o OUT.wav)", kUsage);
    if (const auto why = ReadStrikingOptions(args, request.striking))
        return UsageError(kCommand, *why, kUsage);
    if (const auto why = ChooseRenderOutput(args, *output, options.files))
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
        const std::uint32_t bellRate = bells[index].format.sampleRate;
        if (!ApplySampleRateRule(bells[index], commonSampleRate)) {
            std::fprintf(stderr, "%s\n", SampleRateRefusal(path, bellRate, commonSampleRate).c_str());
            return false;
        }
    }
    return true;
}

// The progress line: a bar and the percent, and for long renders the changes rung.
void DrawProgress(const PealRender& render, bool withChanges)
{
    constexpr int kWidth = 40;
    const std::int32_t total = render.TotalSamples();
    const int percent = total > 0 ? static_cast<int>(std::int64_t{render.SamplesDone()} * 100 / total) : 100;
    char bar[kWidth + 1];
    for (int k = 0; k < kWidth; ++k)
        bar[k] = k < percent * kWidth / 100 ? '#' : '.';
    bar[kWidth] = '\0';
    std::fprintf(stderr, "\r[%s] %3d%%", bar, percent);
    if (withChanges)
        std::fprintf(stderr, "  %lld of %lld changes", static_cast<long long>(render.ChangesRung()),
                     static_cast<long long>(render.TotalChanges()));
    std::fflush(stderr);
}

// Runs the render to its end: on a worker thread, with a progress line
// redrawn every 100 ms, when stderr is a terminal; else on this thread.
void RunRender(PealRender& render, bool withChanges)
{
    if (isatty(STDERR_FILENO) == 0) {
        render.Run();
        return;
    }
    render.Start();
    for (int tick = 0; !render.Finished(); ++tick) {
        if (tick % 5 == 0)
            DrawProgress(render, withChanges);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    render.Wait();
    DrawProgress(render, withChanges);
    std::fputc('\n', stderr);
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
    const std::string help = std::string(kHelp) + TouchOptionsHelp(TouchUse::Ring) + kStrikingHelp + kRenderOutputHelp;
    if (const auto status = ParseCommandLine(args, kCommand, kUsage, help.c_str()))
        return *status;
    RenderOptions options;
    if (const auto status = ReadOptions(args, options))
        return *status;
    std::optional<TouchChoice> touch;
    if (const auto status = ReadTouchOptions(args, kCommand, kUsage, touch))
        return *status;
    RenderRequest& request = options.request;
    if (touch) {
        request.touch = std::move(touch->touch);
        request.bells = touch->bells;
    }

    RenderFiles files(options.files);
    if (!files.Open()) {
        PrintWriteFailure(files.Fault());
        return 1;
    }
    std::array<CSoundBuffer, kMaxBells> bells;
    std::uint32_t rate = 0;
    if (!LoadBells(options, args, bells, rate))
        return 1;
    const RenderPlan plan = PlanRender(request, bells.data(), rate);
    if (!plan.ok) {
        std::fprintf(
            stderr, "%s\n",
            RefusalWithDetails(plan, request, {args.Positional().size(), args.Value("--bells").has_value()}).c_str());
        return 1;
    }
    if (const auto why = CheckOddBells(request.striking, plan.stage))
        return UsageError(kCommand, *why, kUsage);
    if (const auto why = CheckOutputRate(options.files, rate)) {
        std::fprintf(stderr, "%s\n", why->c_str());
        return 1;
    }

    PealRender render(request, plan, bells.data());
    const bool longRender = plan.totalSamples > kLongestInMemorySeconds * rate;
    switch (RenderAndWrite(render, files, longRender, [&] { RunRender(render, longRender); })) {
    case RenderWrite::Written: return 0;
    case RenderWrite::NoMemory: std::fputs("not enough memory for this length\n", stderr); return 1;
    case RenderWrite::Failed: break;
    }
    PrintWriteFailure(files.Fault());
    return 1;
}
