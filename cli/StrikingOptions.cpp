#include "cli/StrikingOptions.h"

const char* const kStrikingHelp =
    "  --striking-model M     uniform (default): each blow off by up to --striking-error\n"
    "                         percent of a strike interval, as the application strikes;\n"
    "                         human: off by a normal error of --rms-ms\n"
    "  --rms-ms R             the human model's RMS error in milliseconds, 0..200 (default 25)\n"
    "  --odd-bell N:MS[:hand|back]\n"
    "                         bell N strikes MS milliseconds late (negative: early),\n"
    "                         -1000..1000, at handstroke, backstroke or both (default);\n"
    "                         repeatable, with either model\n";

void AddStrikingOptions(Args& args)
{
    args.AddValueOption("--striking-model");
    args.AddValueOption("--rms-ms");
    args.AddValueOption("--odd-bell");
}

std::optional<std::string> ReadStrikingOptions(const Args& args, StrikingSettings& settings)
{
    StrikingOptions options;
    options.model = args.Value("--striking-model");
    options.rmsMilliseconds = args.Value("--rms-ms");
    options.strikingErrorGiven = args.Value("--striking-error").has_value();
    options.oddBells = args.Values("--odd-bell");
    return ReadStrikingOptions(options, settings);
}
