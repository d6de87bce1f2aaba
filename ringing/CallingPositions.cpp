#include "ringing/CallingPositions.h"

#include "base/MessageQuote.h"

namespace {

std::string WordFault(std::size_t word, std::string_view text, const std::string& why)
{
    return "calling word " + std::to_string(word) + ", '" + MessageQuote(text) + "': " + why;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Reads one word; empty when read, else why not.
std::string ReadWord(std::string_view text, PositionCall& call)
{
    std::size_t at = 0;
    std::int64_t courses = 0;
    bool counted = false;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        courses = courses * 10 + (text[at] - '0');
        if (courses > kMostCourses)
            return "a count above " + std::to_string(kMostCourses);
        counted = true;
        ++at;
    }
    if (counted && courses == 0)
        return "a count of 0";
    call.courses = counted ? courses : 1;
    if (at < text.size() && (text[at] == '-' || text[at] == 's')) {
        call.call = text[at] == 's' ? 's' : 'b';
        ++at;
    }
    if (at == text.size())
        return "no position letter (H W M I B O T F V X S E N)";
    const char letter = text[at];
    if (kPositionLetters.find(letter) == std::string_view::npos) {
        const std::string shown = letter > ' ' && letter < 0x7F ? std::string(1, letter) : "that";
        return "unknown position '" + shown + "'; positions are H W M I B O T F V X S E N, in capitals";
    }
    if (at + 1 != text.size())
        return "one position a word, as in W, sH or 3M";
    call.position = letter;
    return "";
}

}  // namespace

CallingPositions ReadCallingPositions(std::string_view text)
{
    CallingPositions calling;
    std::size_t at = 0;
    std::size_t word = 0;
    while (at < text.size()) {
        if (IsBlank(text[at])) {
            ++at;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && !IsBlank(text[end]))
            ++end;
        const std::string_view written = text.substr(at, end - at);
        PositionCall call;
        call.word = ++word;
        if (const std::string why = ReadWord(written, call); !why.empty()) {
            calling.calls.clear();
            calling.fault = WordFault(word, written, why);
            return calling;
        }
        calling.calls.push_back(call);
        at = end;
    }
    return calling;
}

int PositionPlace(char position, int stage, bool callMakesSeconds)
{
    const bool even = stage % 2 == 0;
    switch (position) {
    case 'H': return stage;
    case 'W': return even ? stage - 1 : stage - 2;
    case 'M': return even ? stage - 2 : stage - 1;
    case 'I': return 2;
    case 'B': return callMakesSeconds ? 2 : 3;
    case 'O':
    case 'T': return 3;
    case 'F': return 4;
    case 'V': return 5;
    case 'X': return 6;
    case 'S': return 7;
    case 'E': return 8;
    case 'N': return 9;
    default: return 0;
    }
}

std::string CallName(char call, int place, int stage, bool callMakesSeconds)
{
    const std::string prefix = call == 's' ? "s" : "";
    for (const char letter : kPositionLetters)
        if (PositionPlace(letter, stage, callMakesSeconds) == place)
            return prefix + letter;
    return prefix + "(" + std::to_string(place) + ")";
}

bool MakesSeconds(const std::vector<Change>& changes)
{
    for (const Change& change : changes)
        if (change[1] == 1)
            return true;
    return false;
}

int PlaceOfBell(const Row& row, int bell, int stage)
{
    for (int q = 0; q < stage; ++q)
        if (row[q] == bell)
            return q + 1;
    return 0;
}
