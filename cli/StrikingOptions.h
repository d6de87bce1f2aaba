#pragma once

#include "cli/Args.h"
#include "synth/StrikingOptions.h"

#include <optional>
#include <string>

// The striking options of `render`: --striking-model, --rms-ms and the
// repeatable --odd-bell N:MS[:hand|back].

// Their lines for `render --help`.
extern const char* const kStrikingHelp;

void AddStrikingOptions(Args& args);

// Fills `settings` from the parsed arguments (--striking-error belongs to the
// uniform model, --rms-ms to the human one). Returns why not, for a usage
// error, or nullopt. Bell numbers are checked against the stage later.
std::optional<std::string> ReadStrikingOptions(const Args& args, StrikingSettings& settings);
