#include "ringing/Method.h"

#include "ringing/PlaceNotation.h"

#include <algorithm>

namespace {

bool SeparatesChanges(char symbol)
{
    return symbol == '.' || symbol == ',' || symbol == '-' || symbol == 'x' || symbol == 'X';
}

// The first change, in the notation as written, that makes every place on
// `stage` bells, named with where it stands; empty when there is none. Such
// a change leaves every bell where it was. `notation` has been read into
// `changes`, which are looked at first: the notation is read again change by
// change only when one of them moves no bell.
std::string ChangeMakingEveryPlace(std::string_view notation, const std::vector<Change>& changes, int stage)
{
    if (std::none_of(changes.begin(), changes.end(), [&](const Change& change) { return IsHomeRow(change, stage); }))
        return {};
    for (std::size_t begin = 0; begin < notation.size();) {
        std::size_t end = begin;
        while (end < notation.size() && !SeparatesChanges(notation[end]))
            ++end;
        if (end > begin) {
            const std::string_view places = notation.substr(begin, end - begin);
            const PlaceNotation change = ReadPlaceNotation(places, stage);
            if (change.changes.size() == 1 && IsHomeRow(change.changes.front(), stage))
                return "change '" + std::string(places) + "' at character " + std::to_string(begin + 1) +
                       " makes every place and moves no bell; a method's lead may not hold one (a call may)";
        }
        begin = end + 1;
    }
    return {};
}

}  // namespace

MethodRead ReadMethod(std::string title, std::string_view notation, int stage)
{
    PlaceNotation read = ReadPlaceNotation(notation, stage);
    MethodRead result;
    result.fault = read.fault.empty() ? ChangeMakingEveryPlace(notation, read.changes, stage) : std::move(read.fault);
    if (result.fault.empty()) {
        result.method.title = std::move(title);
        result.method.stage = stage;
        result.method.notation = notation;
        result.method.lead = std::move(read.changes);
    }
    return result;
}
