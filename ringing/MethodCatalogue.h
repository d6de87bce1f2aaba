#pragma once

#include "ringing/BuiltInMethods.h"
#include "ringing/MethodLibrary.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A method's conventional calls at its lead ends, in place notation; empty
// when it has none.
struct LeadEndCalls {
    std::string bob;
    std::string single;
};

// The calls a method outside the built-in list takes, from its lead end on
// an even stage n: a 12 lead end takes bob 14 and single 1234; a 1n lead end
// bob 1(n-2) and single 1(n-2)(n-1)n. Any other method has none.
// `leadEndPlaces` has bit p - 1 set for each place p the last change makes.
LeadEndCalls ConventionalCalls(std::uint32_t leadEndPlaces, int stage);

// What looking a title up gives: the method, or why there is none.
struct TitleLookup {
    const MethodEntry* method = nullptr;
    std::vector<std::string_view> suggestions;  // up to five titles when there is no method
    // "no method is titled 'X'; did you mean 'A' or 'B'?" when there is no method.
    std::string fault;
};

// The methods that can be rung by title: the built-in list, then the
// methods of a library whose titles are not in it (a built-in title keeps
// the built-in method, with its calls). Titles match without regard to case
// (ASCII and Latin-1 letters). Not copyable: entries view strings it owns.
// Const members are safe from any thread once filled.
class MethodCatalogue {
public:
    MethodCatalogue();
    MethodCatalogue(const MethodCatalogue&) = delete;
    MethodCatalogue& operator=(const MethodCatalogue&) = delete;

    // Adds a library's methods, in order, each with ConventionalCalls at its
    // lead ends. A title already known is left out. Returns how many were added.
    std::size_t AddLibrary(std::vector<LibraryMethod> methods);

    // Every method: the built-in list first. Pointers into it stay valid
    // until the next AddLibrary.
    std::span<const MethodEntry> Methods() const { return entries; }
    std::size_t BuiltInCount() const { return builtInCount; }

    // The method titled `title`, or nullptr.
    const MethodEntry* Find(std::string_view title) const;

    // The method titled `title`; else up to five suggestions: the titles that
    // contain every word typed, in the order typed, shortest first; when
    // none does, the nearest by edit distance (for titles up to 200 bytes).
    TitleLookup Lookup(std::string_view title) const;

    // The methods whose titles contain `text` (any case) and, unless `stage`
    // is 0, that are rung on `stage` bells; in catalogue order. Empty text
    // matches every title. Takes well under a millisecond per thousand methods.
    std::vector<const MethodEntry*> Search(std::string_view text, int stage = 0) const;

private:
    // Adds `entry` under its folded title; false, leaving everything as it
    // was, when the title is already known. `foldedText` must have room.
    bool Index(const MethodEntry& entry);
    // Makes room in `foldedText` for `bytes` more, keeping `byTitle` valid.
    void Reserve(std::size_t bytes);
    std::string_view FoldedAt(std::size_t entry) const;
    std::vector<std::string_view> Suggestions(const std::string& folded) const;

    std::vector<MethodEntry> entries;
    std::size_t builtInCount = 0;
    std::string foldedText;                 // every entry's title folded (FoldedTitle), one after another
    std::vector<std::size_t> foldedStarts;  // where entry k's folded title starts in foldedText
    std::unordered_map<std::string_view, std::size_t> byTitle;  // folded title (in foldedText) -> entry
    std::deque<LibraryMethod> libraryMethods;                   // what library entries view
    std::deque<LeadEndCalls> libraryCalls;
};

// A title folded for matching: ASCII and Latin-1 capitals in lower case.
std::string FoldedTitle(std::string_view title);
