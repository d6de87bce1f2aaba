#pragma once

#include "synth/StrikingSetup.h"

#include <optional>
#include <string>
#include <string_view>
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

// What a front end calls each field of StrikingOptions, for its messages:
// the command line's option names by default; a window gives its labels.
struct StrikingOptionNames {
    std::string model = "--striking-model";
    std::string rmsMilliseconds = "--rms-ms";
    std::string strikingError = "--striking-error";
    std::string oddBell = "--odd-bell";
};

// Fills `settings` from `options`. Returns why not, naming the fields by
// `names`, or nullopt. Bell numbers are checked against the stage by
// CheckOddBells.
std::optional<std::string> ReadStrikingOptions(const StrikingOptions& options, StrikingSettings& settings,
                                               const StrikingOptionNames& names = {});

// Why an odd bell does not ring among `stage` bells, or nullopt.
std::optional<std::string> CheckOddBells(const StrikingSettings& settings, int stage,
                                         const StrikingOptionNames& names = {});

// A number of milliseconds within [least, most] as a person writes it (a
// decimal number, a leading '+' allowed); nullopt for anything else.
std::optional<double> ParseMilliseconds(std::string_view text, double least, double most);
