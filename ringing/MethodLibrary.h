#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The largest method library file that is read; a larger one is refused with
// its size. The collections' file of every method is a tenth of this.
inline constexpr std::int64_t kMaxLibraryBytes = std::int64_t{256} << 20;

// The most of a method's title that a message quotes, in bytes (MessageQuote).
inline constexpr std::size_t kQuotedTitleBytes = 60;

// One method of a library file, as ringable as a built-in one.
struct LibraryMethod {
    std::string title;
    int stage = 0;                    // kMinStage..kMaxStage
    std::string notation;             // reads on `stage` bells
    std::uint32_t leadEndPlaces = 0;  // places made by the lead's last change: bit p - 1 for place p
};

// What reading a library file gives. A plain value.
struct MethodLibrary {
    std::vector<LibraryMethod> methods;  // in the file's order
    std::int64_t aboveMaxStage = 0;      // methods on more than kMaxStage bells, skipped
    // One line per other method skipped, naming it and why: "line 12: 'Title': place notation ...".
    std::vector<std::string> skipped;
    // Set when the file is refused: "method library NAME: line N: WHY" (the
    // line for a fault in the XML). Nothing else is set then.
    std::string fault;
};

// Reads a method collection in the collections' XML: `collection` >
// `methodSet` > `properties` (the set's `stage`, `lengthOfLead`, `leadHead`,
// ...) and `method` elements (`title`, `notation`, and properties of their
// own, directly or in a `properties` element, overriding the set's).
// Elements are matched by local name, whatever their namespace; a UTF-8
// byte-order mark is accepted. Notation is read by ReadMethod, as a
// method's lead is when it is rung.
//
// A method is skipped, and listed in `skipped`, when it has no title or
// stage, its notation does not read as a lead, or it does not give the
// file's own `lengthOfLead` or `leadHead`. Refused: malformed XML, a root
// other than `collection`, entity declarations (never expanded), elements
// nested deeper than 256, and files over kMaxLibraryBytes. The file is read
// in 256 KiB pieces; a method's text fields of more than 4 KiB skip it.
// Prints nothing; safe from any thread.
MethodLibrary ReadMethodLibraryFile(const std::string& path);

// As ReadMethodLibraryFile, for the file's bytes in memory; `name` stands
// for the file in messages.
MethodLibrary ReadMethodLibraryText(std::string_view text, const std::string& name);

// Where a library is looked for when none is named:
// $XDG_DATA_HOME/carillix/methods.xml, or ~/.local/share/carillix/methods.xml
// when XDG_DATA_HOME is unset or empty. Empty when HOME is unset too.
std::string DefaultMethodLibraryPath();
