#pragma once

#include "ringing/MethodCatalogue.h"
#include "ringing/Touch.h"
#include "ringing/TouchOptions.h"
#include "synth/StrikingOptions.h"
#include "synth/StrikingSetup.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the Method dialog shows and hands back, as the user typed it, so the
// dialog reopens exactly as it was left. A plain value.
struct MethodForm {
    std::string find;   // the list's filter
    std::string title;  // the list's choice; empty for none
    std::string placeNotation;
    std::string stage;
    std::string bob;
    std::string single;
    std::string calls;    // p, b, s per call
    std::string calling;  // by calling positions
    std::string parts;
    bool wholeTouch = false;
    bool likeABand = false;  // else even: the main dialog's striking error
    std::string rmsMilliseconds = "25";
    int oddBell = 0;  // 0: none; else the bell, 1..16
    std::string lateMilliseconds;
    int oddStroke = 0;  // 0 both, 1 handstroke, 2 backstroke
};

// The command line's options for `form`: the chosen title while its place
// notation and stage are as the list filled them in (a method with its own
// calls and call positions), else the place notation and stage as typed;
// empty boxes are options not given.
TouchOptions TouchOptionsFor(const MethodForm& form, const MethodCatalogue& catalogue);
StrikingOptions StrikingOptionsFor(const MethodForm& form);

// A form that rings: what "Generate Output" needs of it.
struct MethodChoice {
    MethodForm form;
    Touch touch;
    StrikingSettings striking;
    bool wholeTouch = false;
    // "Cambridge Surprise Major: W H H, 3 parts; like a band, 25 ms".
    std::string summary;
};

// Reads, builds and proves `form` as the command line would (the same
// checks, in the same words, but naming the dialog's boxes where the command
// line names its options); the odd bell must ring among the method's
// WindowBellsForStage. `fault` is empty when `choice` is set.
struct MethodChoiceRead {
    std::optional<MethodChoice> choice;
    std::string fault;
};
MethodChoiceRead ReadMethodChoice(const MethodForm& form, const MethodCatalogue& catalogue);

// The proof's line for the form as it stands: ProofLine's "1280 changes,
// true", or the first fault of the method or its touch. Empty while no
// method is given.
std::string ProofLineFor(const MethodForm& form, const MethodCatalogue& catalogue);

// The bells the application rings a method of `stage` on by default: the
// smallest entry of its list (5, 6, 8, ... 16) that holds the stage, with a
// covering bell behind an odd stage: stages 3 and 4 ring on 5.
std::int16_t WindowBellsForStage(int stage);

// The command that renders the whole of `choice` with the command line, for
// a touch longer than the window keeps: the method and touch options as the
// form gives them, `bells` ringing, the peal speed as "2h45", the striking,
// the bell files in order and "-o peal.wav"; `libraryFile`, when not empty,
// as --library for a method chosen by title. Arguments are quoted for a
// POSIX shell where they need it.
struct RenderCommandSettings {
    int bells = 0;
    std::string pealSpeed;  // "2h45"
    int strikingError = 0;
    std::vector<std::string> bellFiles;
    std::string libraryFile;
};
std::string RenderCommandFor(const MethodChoice& choice, const RenderCommandSettings& settings,
                             const MethodCatalogue& catalogue);
