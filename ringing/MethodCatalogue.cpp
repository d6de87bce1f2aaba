#include "ringing/MethodCatalogue.h"

#include "base/AsciiCase.h"
#include "base/MessageQuote.h"
#include "ringing/Row.h"

#include <algorithm>
#include <tuple>

namespace {

constexpr std::size_t kMostSuggestions = 5;
constexpr std::size_t kLongestForEditDistance = 200;

std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t begin = text.find_first_not_of(" \t", at);
        if (begin == std::string_view::npos)
            break;
        const std::size_t end = std::min(text.find_first_of(" \t", begin), text.size());
        words.push_back(text.substr(begin, end - begin));
        at = end;
    }
    return words;
}

bool ContainsInOrder(std::string_view title, const std::vector<std::string_view>& words)
{
    std::size_t from = 0;
    for (const std::string_view word : words) {
        const std::size_t at = title.find(word, from);
        if (at == std::string_view::npos)
            return false;
        from = at + word.size();
    }
    return true;
}

// Levenshtein distance, giving up (returning `enough`) once it cannot be below `enough`.
std::size_t EditDistance(std::string_view a, std::string_view b, std::size_t enough, std::vector<std::size_t>& row)
{
    const std::size_t apart = a.size() > b.size() ? a.size() - b.size() : b.size() - a.size();
    if (apart >= enough)
        return enough;
    row.resize(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        std::size_t best = row[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({above + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
            best = std::min(best, row[j]);
        }
        if (best >= enough)
            return enough;
    }
    return row[b.size()];
}

std::string Symbols(std::initializer_list<int> places)
{
    std::string text;
    for (const int place : places)
        text.push_back(kBellSymbols[static_cast<std::size_t>(place - 1)]);
    return text;
}

// Folds `text` in place (see FoldedTitle).
void Fold(char* text, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        char& c = text[i];
        c = AsciiLower(c);
        if (static_cast<unsigned char>(c) == 0xC3 && i + 1 < size) {
            // U+00C0..U+00DE (but U+00D7, the multiplication sign) are the
            // capitals of U+00E0..U+00FE: C3 80..9E against C3 A0..BE.
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97)
                text[i + 1] = static_cast<char>(next + 0x20);
            ++i;
        }
    }
}

}  // namespace

std::string FoldedTitle(std::string_view title)
{
    std::string folded(title);
    Fold(folded.data(), folded.size());
    return folded;
}

LeadEndCalls ConventionalCalls(std::uint32_t leadEndPlaces, int stage)
{
    if (stage % 2 != 0 || stage < 4 || stage > kMaxBells)
        return {};
    const std::uint32_t twelve = 0b11;
    const std::uint32_t oneAndBack = 1u | 1u << (stage - 1);
    if (leadEndPlaces == twelve)
        return {"14", "1234"};
    if (leadEndPlaces == oneAndBack)
        return {Symbols({1, stage - 2}), Symbols({1, stage - 2, stage - 1, stage})};
    return {};
}

MethodCatalogue::MethodCatalogue()
{
    std::size_t bytes = 0;
    for (const MethodEntry& method : BuiltInMethods())
        bytes += method.title.size();
    Reserve(bytes);
    for (const MethodEntry& method : BuiltInMethods())
        Index(method);
    builtInCount = entries.size();
}

void MethodCatalogue::Reserve(std::size_t bytes)
{
    const char* before = foldedText.data();
    foldedText.reserve(foldedText.size() + bytes);
    if (foldedText.data() == before)
        return;
    byTitle.clear();
    for (std::size_t entry = 0; entry < entries.size(); ++entry)
        byTitle.emplace(FoldedAt(entry), entry);
}

std::string_view MethodCatalogue::FoldedAt(std::size_t entry) const
{
    const std::size_t end = entry + 1 < foldedStarts.size() ? foldedStarts[entry + 1] : foldedText.size();
    return std::string_view(foldedText).substr(foldedStarts[entry], end - foldedStarts[entry]);
}

bool MethodCatalogue::Index(const MethodEntry& entry)
{
    const std::size_t start = foldedText.size();
    foldedText.append(entry.title);
    Fold(foldedText.data() + start, entry.title.size());
    if (!byTitle.emplace(std::string_view(foldedText).substr(start), entries.size()).second) {
        foldedText.resize(start);
        return false;
    }
    foldedStarts.push_back(start);
    entries.push_back(entry);
    return true;
}

std::size_t MethodCatalogue::AddLibrary(std::vector<LibraryMethod> methods)
{
    const std::size_t before = entries.size();
    std::size_t bytes = 0;
    for (const LibraryMethod& method : methods)
        bytes += method.title.size();
    Reserve(bytes);
    entries.reserve(entries.size() + methods.size());
    foldedStarts.reserve(entries.size() + methods.size());
    byTitle.reserve(entries.size() + methods.size());
    for (LibraryMethod& method : methods) {
        const LibraryMethod& kept = libraryMethods.emplace_back(std::move(method));
        const LeadEndCalls& calls = libraryCalls.emplace_back(ConventionalCalls(kept.leadEndPlaces, kept.stage));
        if (!Index(
                MethodEntry{kept.title, kept.stage, kept.notation, calls.bob, calls.single, CallPosition::LeadEnd})) {
            libraryMethods.pop_back();
            libraryCalls.pop_back();
        }
    }
    return entries.size() - before;
}

const MethodEntry* MethodCatalogue::Find(std::string_view title) const
{
    const auto found = byTitle.find(FoldedTitle(title));
    return found == byTitle.end() ? nullptr : &entries[found->second];
}

std::vector<const MethodEntry*> MethodCatalogue::Search(std::string_view text, int stage) const
{
    const std::string folded = FoldedTitle(text);
    std::vector<const MethodEntry*> found;
    for (std::size_t k = 0; k < entries.size(); ++k)
        if ((stage == 0 || entries[k].stage == stage) && FoldedAt(k).find(folded) != std::string_view::npos)
            found.push_back(&entries[k]);
    return found;
}

std::vector<std::string_view> MethodCatalogue::Suggestions(const std::string& folded) const
{
    // Ranked by (distance, length, title); distance 0 for titles containing the words.
    using Rank = std::tuple<std::size_t, std::size_t, std::string_view>;
    std::vector<Rank> ranked;
    const std::vector<std::string_view> words = Words(folded);
    if (!words.empty())
        for (std::size_t k = 0; k < entries.size(); ++k)
            if (ContainsInOrder(FoldedAt(k), words))
                ranked.emplace_back(0, entries[k].title.size(), entries[k].title);
    if (ranked.empty() && !folded.empty() && folded.size() <= kLongestForEditDistance) {
        std::vector<std::size_t> row;
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const std::size_t enough = ranked.size() < kMostSuggestions ? folded.size() + FoldedAt(k).size() + 1
                                                                        : std::get<0>(ranked.back()) + 1;
            const std::size_t distance = EditDistance(folded, FoldedAt(k), enough, row);
            if (distance >= enough)
                continue;
            ranked.emplace_back(distance, entries[k].title.size(), entries[k].title);
            std::sort(ranked.begin(), ranked.end());
            if (ranked.size() > kMostSuggestions)
                ranked.pop_back();
        }
    }
    std::sort(ranked.begin(), ranked.end());
    std::vector<std::string_view> titles;
    for (std::size_t k = 0; k < ranked.size() && k < kMostSuggestions; ++k)
        titles.push_back(std::get<2>(ranked[k]));
    return titles;
}

TitleLookup MethodCatalogue::Lookup(std::string_view title) const
{
    TitleLookup lookup;
    lookup.method = Find(title);
    if (lookup.method != nullptr)
        return lookup;
    lookup.suggestions = Suggestions(FoldedTitle(title));
    lookup.fault = "no method is titled '" + MessageQuote(title, kQuotedTitleBytes) + "'";
    for (std::size_t k = 0; k < lookup.suggestions.size(); ++k) {
        lookup.fault += k == 0 ? "; did you mean '" : k + 1 == lookup.suggestions.size() ? "' or '" : "', '";
        lookup.fault += lookup.suggestions[k];
    }
    if (!lookup.suggestions.empty())
        lookup.fault += "'?";
    return lookup;
}
