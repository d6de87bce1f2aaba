#pragma once

#include "cli/Args.h"
#include "ringing/Touch.h"
#include "ringing/TouchProof.h"

#include <cstdint>
#include <optional>
#include <string>

// The options that ring a method instead of a style, shared by `rows` and
// `render` and `prove`: --method, --place-notation, --stage, --calls,
// --calling, --parts, --observation, --bob, --single, --library, and (for the
// commands that ring) --bells read against the method's stage.

// Declares the options above (not --bells, which every command has).
void AddTouchOptions(Args& args);

// What a command does with the touch: `rows` and `render` ring it (with
// --bells, and a false touch rung with a warning); `prove` only proves it.
enum class TouchUse { Ring, Prove };

// The help lines of those options for such a command, to follow its own.
std::string TouchOptionsHelp(TouchUse use);

// True when a method option was given: the command rings a touch.
bool WantsTouch(const Args& args);

// A proved touch and the number of bells that ring it (its stage and any
// covering bells behind).
struct TouchChoice {
    Touch touch;
    std::int16_t bells = 0;
    TouchProof proof;  // it comes round
};

// Reads the method options into `choice` (left empty when none was given).
// Usage errors print "carillix-cli COMMAND: WHY" and the usage and give 2;
// a touch that cannot be rung prints why and gives 1; a calling whose calls
// are not all made, and (when `warnIfFalse`) a false touch, print a warning
// and are chosen. Returns the exit status when the command must stop,
// nullopt otherwise. Prints nothing on stdout.
std::optional<int> ReadTouchOptions(const Args& args, const char* command, const char* usage,
                                    std::optional<TouchChoice>& choice, bool warnIfFalse = true);
