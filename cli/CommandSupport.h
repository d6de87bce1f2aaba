#pragma once

#include "cli/Args.h"
#include "ringing/MethodStyle.h"
#include "sound/LoadResult.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Helpers shared by the subcommands. Every message goes to stderr; only
// --help writes to stdout.

// Prints "carillix-cli COMMAND: WHY" and the usage; returns 2, the status of a usage error.
int UsageError(const char* command, const std::string& why, const char* usage);

// Declares --help, parses, and answers --help or a parse error itself.
// Returns the exit status when the command is already done, nullopt otherwise.
std::optional<int> ParseCommandLine(Args& args, const char* command, const char* usage, const char* help);

// Declares -o and --output; OutputPath gives the value of whichever came
// last, or nullopt when neither was given or it is empty.
void AddOutputOption(Args& args);
std::optional<std::string> OutputPath(const Args& args);

// "home", "treble-bob", "grandsire", "stedman" or "principle".
std::optional<MethodStyle> ParseStyle(std::string_view name);

// A number of bells: 5, 6, 8, 10, 12, 14 or 16.
std::optional<std::int16_t> ParseStage(std::string_view text);
// The stage's position in that list: the main dialog's bells list index.
std::int32_t BellCountIndex(std::int16_t stage);

// Prints "PATH: TEXT" for a failed bell load.
void PrintLoadFailure(const std::string& path, LoadResult result);
