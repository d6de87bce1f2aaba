#include "app/MethodChoice.h"

#include "ringing/MethodStyle.h"

#include <array>
#include <sstream>

namespace {

// The Method dialog's boxes, as its messages name them; it has no box for
// the observation bell, the striking model or the striking error.
const TouchOptionNames kTouchNames{.method = "a method from the list",
                                   .placeNotation = "Place notation",
                                   .stage = "Stage",
                                   .calls = "Calls",
                                   .calling = "Calling",
                                   .parts = "Parts",
                                   .observation = "",
                                   .bob = "Bob",
                                   .single = "Single"};
const StrikingOptionNames kStrikingNames{
    .model = "", .rmsMilliseconds = "RMS (ms)", .strikingError = "", .oddBell = "Odd bell"};
constexpr const char* kLateFault = "Late (ms) must be a number of milliseconds from -1000 to 1000 (negative: early)";

std::string Trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A box's text as an option: not given when blank.
std::optional<std::string> Given(const std::string& text)
{
    std::string trimmed = Trimmed(text);
    return trimmed.empty() ? std::nullopt : std::optional<std::string>(std::move(trimmed));
}

std::string Number(double value)
{
    std::ostringstream text;
    text << value;
    return text.str();
}

std::string TouchSummary(const MethodForm& form, const ProvedTouch& proved)
{
    std::string text;
    if (const auto calling = Given(form.calling)) {
        text = *calling;
        if (proved.request.parts > 1)
            text += ", " + std::to_string(proved.request.parts) + " parts";
    } else if (const auto calls = Given(form.calls)) {
        text = "calls " + *calls;
    } else {
        text = "plain course";
    }
    return form.wholeTouch ? text + ", whole touch" : text;
}

std::string StrikingSummary(const StrikingSettings& striking)
{
    std::string text = striking.model == StrikingModelKind::Human
                           ? "like a band, " + Number(striking.rmsMilliseconds) + " ms"
                           : std::string("even");
    for (const OddBell& odd : striking.oddBells) {
        text += "; bell " + std::to_string(odd.bell + 1) + " " +
                Number(odd.milliseconds < 0 ? -odd.milliseconds : odd.milliseconds) +
                (odd.milliseconds < 0 ? " ms early" : " ms late");
        if (odd.handstroke != odd.backstroke)
            text += odd.handstroke ? " at handstroke" : " at backstroke";
    }
    return text;
}

// `word` as one word of a POSIX shell command.
std::string ShellWord(const std::string& word)
{
    const bool plain = !word.empty() && word.find_first_not_of(
                                            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"
                                            "0123456789_./:=+-,@%") == std::string::npos;
    if (plain)
        return word;
    std::string quoted = "'";
    for (const char c : word)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

TouchOptions TouchOptionsFor(const MethodForm& form, const MethodCatalogue& catalogue)
{
    TouchOptions options;
    const MethodEntry* chosen = form.title.empty() ? nullptr : catalogue.Find(form.title);
    if (chosen != nullptr && Trimmed(form.placeNotation) == chosen->notation &&
        Trimmed(form.stage) == std::to_string(chosen->stage)) {
        options.method = form.title;
    } else {
        options.placeNotation = Given(form.placeNotation);
        options.stage = Given(form.stage);
    }
    options.calls = Given(form.calls);
    options.calling = Given(form.calling);
    options.parts = Given(form.parts);
    options.bob = Given(form.bob);
    options.single = Given(form.single);
    return options;
}

StrikingOptions StrikingOptionsFor(const MethodForm& form)
{
    StrikingOptions options;
    if (form.likeABand) {
        options.model = "human";
        options.rmsMilliseconds = Given(form.rmsMilliseconds);
    }
    if (form.oddBell > 0) {
        constexpr std::array<const char*, 3> kStrokes{"", ":hand", ":back"};
        const int stroke = form.oddStroke >= 0 && form.oddStroke < 3 ? form.oddStroke : 0;
        options.oddBells.push_back(std::to_string(form.oddBell) + ":" + Trimmed(form.lateMilliseconds) +
                                   kStrokes[static_cast<std::size_t>(stroke)]);
    }
    return options;
}

MethodChoiceRead ReadMethodChoice(const MethodForm& form, const MethodCatalogue& catalogue)
{
    MethodChoiceRead read;
    ProvedTouch proved = ProveTouchOptions(TouchOptionsFor(form, catalogue), catalogue, kTouchNames);
    if (!proved.fault.empty()) {
        read.fault = proved.fault;
        return read;
    }
    // The odd bell and its stroke are chosen from lists: only the lateness is typed.
    if (form.oddBell > 0 &&
        !ParseMilliseconds(Trimmed(form.lateMilliseconds), -kMostOddMilliseconds, kMostOddMilliseconds)) {
        read.fault = kLateFault;
        return read;
    }
    StrikingSettings striking;
    if (auto why = ReadStrikingOptions(StrikingOptionsFor(form), striking, kStrikingNames)) {
        read.fault = std::move(*why);
        return read;
    }
    if (auto why = CheckOddBells(striking, WindowBellsForStage(proved.touch.method.stage), kStrikingNames)) {
        read.fault = std::move(*why);
        return read;
    }
    MethodChoice choice;
    choice.form = form;
    choice.summary = proved.touch.method.title + ": " + TouchSummary(form, proved) + "; " + StrikingSummary(striking);
    choice.touch = std::move(proved.touch);
    choice.striking = std::move(striking);
    choice.wholeTouch = form.wholeTouch;
    read.choice = std::move(choice);
    return read;
}

std::string ProofLineFor(const MethodForm& form, const MethodCatalogue& catalogue)
{
    const TouchOptions options = TouchOptionsFor(form, catalogue);
    if (!options.method && !options.placeNotation)
        return {};
    const ProvedTouch proved = ProveTouchOptions(options, catalogue, kTouchNames);
    return proved.fault.empty() ? ProofLine(proved.proof) : proved.fault;
}

std::int16_t WindowBellsForStage(int stage)
{
    const int needed = stage % 2 == 0 ? stage : stage + 1;
    for (const std::int16_t entry : kStyleStages)
        if (entry >= needed)
            return entry;
    return kStyleStages.back();
}

std::string RenderCommandFor(const MethodChoice& choice, const RenderCommandSettings& settings,
                             const MethodCatalogue& catalogue)
{
    const TouchOptions touch = TouchOptionsFor(choice.form, catalogue);
    const StrikingOptions striking = StrikingOptionsFor(choice.form);
    std::vector<std::string> words{"carillix-cli", "render"};
    const auto add = [&words](const char* option, const std::optional<std::string>& value) {
        if (value) {
            words.emplace_back(option);
            words.push_back(*value);
        }
    };
    add("--method", touch.method);
    if (touch.method && !settings.libraryFile.empty())
        add("--library", settings.libraryFile);
    add("--place-notation", touch.placeNotation);
    add("--stage", touch.stage);
    add("--calls", touch.calls);
    add("--calling", touch.calling);
    add("--parts", touch.parts);
    add("--bob", touch.bob);
    add("--single", touch.single);
    add("--bells", std::to_string(settings.bells));
    add("--peal-speed", settings.pealSpeed);
    if (striking.model) {
        add("--striking-model", striking.model);
        add("--rms-ms", striking.rmsMilliseconds);
    } else {
        add("--striking-error", std::to_string(settings.strikingError));
    }
    for (const std::string& odd : striking.oddBells)
        add("--odd-bell", odd);
    add("--length", std::string("touch"));
    words.insert(words.end(), settings.bellFiles.begin(), settings.bellFiles.end());
    add("-o", std::string("peal.wav"));
    std::string command;
    for (const std::string& word : words)
        command += (command.empty() ? "" : " ") + ShellWord(word);
    return command;
}
