#pragma once

#include "cli/Args.h"
#include "ringing/MethodCatalogue.h"

#include <cstdint>
#include <optional>
#include <string>

// --library FILE, shared by the commands that look methods up by title.

void AddLibraryOption(Args& args);

extern const char* const kLibraryOptionHelp;

// Which library a catalogue holds.
struct LibraryUse {
    std::string path;                // the file read, or the default place looked at
    bool read = false;               // false: there was none at the default place
    std::size_t added = 0;           // its methods in the catalogue (built-in titles left out)
    std::int64_t aboveMaxStage = 0;  // its methods above sixteen bells, skipped
};

// Adds the library that --library names to `catalogue`; without the option,
// the one at DefaultMethodLibraryPath() when `orDefault` and a file is there.
// Methods skipped are warned of on stderr (the first ten, then a count). A
// library that cannot be read prints its fault and gives exit status 1.
std::optional<int> LoadLibrary(const Args& args, bool orDefault, MethodCatalogue& catalogue, LibraryUse& use);
