#include "ringing/PlaceNotation.h"

#include "base/AsciiCase.h"
#include "ringing/ChangeTables.h"

#include <bit>
#include <cstdint>
#include <cstdio>

namespace {

bool IsCross(char symbol)
{
    return symbol == '-' || symbol == 'x' || symbol == 'X';
}

// Places above 9 may be written in either case ('t' is 'T', place 12).
int PlaceOfEitherCase(char symbol)
{
    return PlaceOfSymbol(AsciiUpper(symbol));
}

std::string Symbol(char symbol)
{
    char text[16];
    if (symbol >= ' ' && symbol < 0x7F)
        std::snprintf(text, sizeof text, "'%c'", symbol);
    else
        std::snprintf(text, sizeof text, "byte 0x%02X", static_cast<unsigned>(static_cast<unsigned char>(symbol)));
    return text;
}

std::string At(std::size_t index)
{
    return " at character " + std::to_string(index + 1);
}

// Reads the changes of one segment, text[begin, end), as written.
class SegmentReader {
public:
    SegmentReader(std::string_view text, int stage, std::vector<Change>& changes)
        : text(text),
          stage(stage),
          changes(changes)
    {
    }

    // Appends the segment's changes; false with `fault` set when refused.
    bool Read(std::size_t begin, std::size_t end, std::string& fault)
    {
        enum class Last { Nothing, Change, Dot } last = Last::Nothing;
        std::size_t dotAt = 0;
        for (std::size_t i = begin; i < end; ++i) {
            const char symbol = text[i];
            if (IsCross(symbol)) {
                if (!FinishPlaces(fault))
                    return false;
                if (stage % 2 != 0) {
                    fault = "a cross" + At(i) + " needs an even stage, not " + std::to_string(stage);
                    return false;
                }
                changes.push_back(ChangeMakingPlaces(0, stage));
                last = Last::Change;
            } else if (symbol == '.') {
                if (!FinishPlaces(fault))
                    return false;
                if (last != Last::Change) {
                    fault = "'.'" + At(i) + " does not stand between two changes";
                    return false;
                }
                last = Last::Dot;
                dotAt = i;
            } else if (const int place = PlaceOfEitherCase(symbol); place != 0) {
                if (place > stage) {
                    fault = "place " + Symbol(symbol) + At(i) + " is beyond the stage of " + std::to_string(stage);
                    return false;
                }
                const std::uint32_t bit = 1u << (place - 1);
                if ((places & bit) != 0) {
                    fault = "place " + Symbol(symbol) + At(i) + " is written twice in one change";
                    return false;
                }
                if (places == 0)
                    placesAt = i;
                places |= bit;
                last = Last::Change;
            } else {
                fault = "unknown symbol " + Symbol(symbol) + At(i);
                return false;
            }
        }
        if (!FinishPlaces(fault))
            return false;
        if (last == Last::Dot) {
            fault = "'.'" + At(dotAt) + " does not stand between two changes";
            return false;
        }
        return true;
    }

private:
    // Completes the places being read with the implicit ones and appends the change.
    bool FinishPlaces(std::string& fault)
    {
        if (places == 0)
            return true;
        const int lowest = std::countr_zero(places) + 1;
        const int highest = 32 - std::countl_zero(places);
        if ((lowest - 1) % 2 != 0)
            places |= 1u;
        if ((stage - highest) % 2 != 0)
            places |= 1u << (stage - 1);
        int previous = 0;
        for (std::uint32_t rest = places; rest != 0; rest &= rest - 1) {
            const int place = std::countr_zero(rest) + 1;
            if (previous != 0 && (place - previous - 1) % 2 != 0) {
                fault = "places " + Symbol(kBellSymbols[previous - 1]) + " and " + Symbol(kBellSymbols[place - 1]) +
                        At(placesAt) + " leave an odd number of bells between them";
                return false;
            }
            previous = place;
        }
        changes.push_back(ChangeMakingPlaces(places, stage));
        places = 0;
        return true;
    }

    std::string_view text;
    int stage;
    std::vector<Change>& changes;
    std::uint32_t places = 0;  // bit p - 1 for place p, of the change being read
    std::size_t placesAt = 0;  // where that change's first place is written
};

}  // namespace

PlaceNotation ReadPlaceNotation(std::string_view notation, int stage)
{
    PlaceNotation read;
    if (stage < kMinStage || stage > kMaxStage) {
        read.fault = "stage " + std::to_string(stage) + " is outside " + std::to_string(kMinStage) + " to " +
                     std::to_string(kMaxStage);
        return read;
    }
    if (notation.empty()) {
        read.fault = "the notation is empty";
        return read;
    }

    const bool palindromes = notation.find(',') != std::string_view::npos;
    // No more changes than symbols, twice over for palindromes: one allocation.
    read.changes.reserve(notation.size() * (palindromes ? 2 : 1));
    std::size_t begin = 0;
    while (begin <= notation.size()) {
        const std::size_t comma = notation.find(',', begin);
        const std::size_t end = comma == std::string_view::npos ? notation.size() : comma;
        if (begin == end) {
            read.fault = begin == 0 ? "nothing before ','" + At(comma) : "nothing after ','" + At(begin - 1);
            read.changes.clear();
            return read;
        }
        const std::size_t segmentStart = read.changes.size();
        SegmentReader reader(notation, stage, read.changes);
        if (!reader.Read(begin, end, read.fault)) {
            read.changes.clear();
            return read;
        }
        if (palindromes)
            for (std::size_t k = read.changes.size() - 1; k > segmentStart; --k)
                read.changes.push_back(read.changes[k - 1]);
        begin = end + 1;
    }
    return read;
}
