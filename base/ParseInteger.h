#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// A whole decimal number written as an optional sign ('+' or '-') followed by
// digits, nothing else (no blanks), within [min, max]; nullopt otherwise.
std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t min, std::int64_t max);

// True when `text` is an optional sign followed by at least one digit and
// nothing else: a whole number, whatever its size.
bool IsWholeNumber(std::string_view text);
