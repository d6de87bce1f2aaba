// Feeds arbitrary bytes, as a method library file, through the library
// reader and into a catalogue. Traps when what is read breaks what the
// catalogue and the touch builder rely on: a refused file gives nothing
// else; every method kept has a title, a stage of 3 to 16 and notation that
// reads as a lead on it, and can be found again by its title.
#include "ringing/Method.h"
#include "ringing/MethodCatalogue.h"
#include "ringing/MethodLibrary.h"
#include "ringing/PlaceNotation.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    MethodLibrary library = ReadMethodLibraryText(text, "fuzz.xml");
    if (!library.fault.empty()) {
        if (!library.methods.empty() || !library.skipped.empty() || library.aboveMaxStage != 0)
            __builtin_trap();
        return 0;
    }
    for (const LibraryMethod& method : library.methods)
        if (method.title.empty() || method.stage < kMinStage || method.stage > kMaxStage ||
            !ReadMethod(method.title, method.notation, method.stage).fault.empty())
            __builtin_trap();
    MethodCatalogue catalogue;
    const std::vector<LibraryMethod> methods = library.methods;
    catalogue.AddLibrary(std::move(library.methods));
    for (const LibraryMethod& method : methods)
        if (catalogue.Find(method.title) == nullptr)
            __builtin_trap();
    return 0;
}
