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

// For a command that takes options only: the usage error "unexpected
// argument 'WORD'" for the first argument given, or nullopt when none was.
std::optional<int> RefuseArguments(const Args& args, const char* command, const char* usage);

// Declares -o and --output; OutputPath gives the value of whichever came
// last, or nullopt when neither was given or it is empty.
void AddOutputOption(Args& args);
std::optional<std::string> OutputPath(const Args& args);

// "home", "treble-bob", "grandsire", "stedman" or "principle".
std::optional<MethodStyle> ParseStyle(std::string_view name);

// A number of bells: 5, 6, 8, 10, 12, 14 or 16.
std::optional<std::int16_t> ParseStage(std::string_view text);

// `path` as a message shows it: MessageQuote within kMessagePathBytes.
std::string QuotedPath(std::string_view path);

// "unknown style 'TEXT'", the text quoted by MessageQuote.
std::string UnknownStyle(std::string_view text);

// Prints "PATH: TEXT" for a failed bell load.
void PrintLoadFailure(const std::string& path, LoadResult result);

// A file that could not be written: the path as the user gave it and the
// system's error number (errno) of why.
struct WriteFault {
    std::string path;
    int error = 0;
};

// Prints the application's "Error writing file!" and then the path and the
// system's reason: "Error writing file! (/x/y.wav: No such file or directory)".
void PrintWriteFailure(const WriteFault& fault);
