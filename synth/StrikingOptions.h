#pragma once

#include "synth/StrikingSetup.h"

#include <optional>
#include <string>
#include <vector>

// Striking as a person gives it, in text: the command line's
// --striking-model, --rms-ms, --striking-error and --odd-bell
// N:MS[:hand|back], or the application's Method dialog. A plain value.
struct StrikingOptions {
    std::optional<std::string> model;  // "uniform" or "human"
    std::optional<std::string> rmsMilliseconds;
    bool strikingErrorGiven = false;  // the uniform model's percent was given
    std::vector<std::string> oddBells;
};

// The bounds of the settings, in milliseconds.
inline constexpr double kMostRmsMilliseconds = 200;
inline constexpr double kMostOddMilliseconds = 1000;

// Fills `settings` from `options`. Returns why not, in the words of the
// command line's usage errors (which name the options), or nullopt. Bell
// numbers are checked against the stage by CheckOddBells.
std::optional<std::string> ReadStrikingOptions(const StrikingOptions& options, StrikingSettings& settings);

// Why an odd bell does not ring among `stage` bells, or nullopt.
std::optional<std::string> CheckOddBells(const StrikingSettings& settings, int stage);
