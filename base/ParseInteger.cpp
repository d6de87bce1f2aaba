#include "base/ParseInteger.h"

#include <algorithm>
#include <charconv>

std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t min, std::int64_t max)
{
    if (!IsWholeNumber(text))
        return std::nullopt;
    if (text.front() == '+')
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

bool IsWholeNumber(std::string_view text)
{
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}
