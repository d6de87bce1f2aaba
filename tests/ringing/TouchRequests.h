#pragma once

#include "ringing/TouchBuilder.h"

#include <optional>
#include <string>

// Touch requests for the tests: a built-in method by title, or place notation.
inline TouchRequest MethodRequest(const MethodEntry* method, std::string calling = "",
                                  std::optional<std::string> bob = std::nullopt,
                                  std::optional<std::string> single = std::nullopt)
{
    TouchRequest request;
    request.method = method;
    request.calling = std::move(calling);
    request.bob = std::move(bob);
    request.single = std::move(single);
    return request;
}

inline TouchRequest NotationRequest(std::string notation, int stage, std::string calling = "",
                                    std::optional<std::string> bob = std::nullopt,
                                    std::optional<std::string> single = std::nullopt)
{
    TouchRequest request = MethodRequest(nullptr, std::move(calling), std::move(bob), std::move(single));
    request.placeNotation = std::move(notation);
    request.stage = stage;
    return request;
}
