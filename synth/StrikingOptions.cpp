#include "synth/StrikingOptions.h"

#include "base/MessageQuote.h"
#include "base/ParseInteger.h"

#include <charconv>
#include <cmath>

std::optional<double> ParseMilliseconds(std::string_view text, double least, double most)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value < least || value > most)
        return std::nullopt;
    return value;
}

namespace {

// N:MS[:hand|back]
std::optional<OddBell> ParseOddBell(const std::string& text)
{
    const auto first = text.find(':');
    if (first == std::string::npos)
        return std::nullopt;
    const auto second = text.find(':', first + 1);
    const auto bell = ParseInteger(std::string_view(text).substr(0, first), 1, 16);
    const auto milliseconds = ParseMilliseconds(
        std::string_view(text).substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1),
        -kMostOddMilliseconds, kMostOddMilliseconds);
    if (!bell || !milliseconds)
        return std::nullopt;
    OddBell odd;
    odd.bell = static_cast<int>(*bell) - 1;
    odd.milliseconds = *milliseconds;
    if (second != std::string::npos) {
        const std::string stroke = text.substr(second + 1);
        if (stroke != "hand" && stroke != "back")
            return std::nullopt;
        odd.handstroke = stroke == "hand";
        odd.backstroke = stroke == "back";
    }
    return odd;
}

}  // namespace

std::optional<std::string> ReadStrikingOptions(const StrikingOptions& options, StrikingSettings& settings,
                                               const StrikingOptionNames& names)
{
    if (const auto& model = options.model) {
        if (*model == "human")
            settings.model = StrikingModelKind::Human;
        else if (*model != "uniform")
            return names.model + " must be uniform or human";
    }
    const bool human = settings.model == StrikingModelKind::Human;
    if (human && options.strikingErrorGiven)
        return names.strikingError + " is the uniform model's; the human model takes " + names.rmsMilliseconds;
    if (const auto& text = options.rmsMilliseconds) {
        if (!human)
            return names.rmsMilliseconds + " is the human model's: add " + names.model + " human";
        const auto rms = ParseMilliseconds(*text, 0, kMostRmsMilliseconds);
        if (!rms)
            return names.rmsMilliseconds + " must be a number of milliseconds from 0 to 200";
        settings.rmsMilliseconds = *rms;
    }
    for (const std::string& text : options.oddBells) {
        const auto odd = ParseOddBell(text);
        if (!odd)
            return names.oddBell + " " + MessageQuote(text) +
                   ": give BELL:MS or BELL:MS:hand or BELL:MS:back, bell 1..16, MS -1000..1000";
        for (const OddBell& given : settings.oddBells)
            if (given.bell == odd->bell &&
                ((given.handstroke && odd->handstroke) || (given.backstroke && odd->backstroke)))
                return names.oddBell + " " + MessageQuote(text) + ": bell " + std::to_string(odd->bell + 1) +
                       " is given twice";
        settings.oddBells.push_back(*odd);
    }
    return std::nullopt;
}

std::optional<std::string> CheckOddBells(const StrikingSettings& settings, int stage, const StrikingOptionNames& names)
{
    for (const OddBell& odd : settings.oddBells)
        if (odd.bell >= stage)
            return names.oddBell + " " + std::to_string(odd.bell + 1) + ": only " + std::to_string(stage) +
                   " bells ring";
    return std::nullopt;
}
