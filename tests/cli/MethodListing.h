#pragma once

#include "tests/cli/RunCli.h"

#include <string>
#include <vector>

// Reading `carillix-cli methods` back, and the search it makes, written apart
// from the catalogue's.

// The titles a listing shows, in its order: each line between the heading and
// the summary, up to the two blanks that end its title.
inline std::vector<std::string> ListedTitles(const CliRun& listing)
{
    std::vector<std::string> titles;
    const std::vector<std::string> lines = listing.Lines();
    for (std::size_t k = 1; k + 1 < lines.size(); ++k)
        titles.push_back(lines[k].substr(0, lines[k].find("  ")));
    return titles;
}

// `text` with A to Z as a to z.
inline std::string AsciiLower(std::string text)
{
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

// Whether `title` holds `text` in any case: what a search lists.
inline bool ContainsIgnoringCase(const std::string& title, const std::string& text)
{
    return AsciiLower(title).find(AsciiLower(text)) != std::string::npos;
}
