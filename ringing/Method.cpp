#include "ringing/Method.h"

#include "ringing/PlaceNotation.h"

MethodRead ReadMethod(std::string title, std::string_view notation, int stage)
{
    PlaceNotation read = ReadPlaceNotation(notation, stage);
    MethodRead result;
    result.fault = std::move(read.fault);
    if (result.fault.empty()) {
        result.method.title = std::move(title);
        result.method.stage = stage;
        result.method.notation = notation;
        result.method.lead = std::move(read.changes);
    }
    return result;
}
