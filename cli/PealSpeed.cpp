#include "cli/PealSpeed.h"

#include "base/ParseInteger.h"

namespace {

constexpr int kFastestSeconds = 5400;   // 1h30
constexpr int kSlowestSeconds = 18000;  // 5h00

bool IsDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

std::optional<double> ParsePealSpeed(std::string_view text)
{
    const auto h = text.find('h');
    if (h == std::string_view::npos || !IsDigits(text.substr(0, h)))
        return std::nullopt;
    std::string_view minutes = text.substr(h + 1);
    if (!minutes.empty() && minutes.front() == ' ')
        minutes.remove_prefix(1);
    if (minutes.empty() && text.size() == h + 1)
        minutes = "00";
    if (minutes.size() != 2 || !IsDigits(minutes))
        return std::nullopt;
    const auto hours = ParseInteger(text.substr(0, h), 0, 9);
    const auto extra = ParseInteger(minutes, 0, 59);
    if (!hours || !extra)
        return std::nullopt;
    const auto seconds = static_cast<int>(*hours * 3600 + *extra * 60);
    if (seconds < kFastestSeconds || seconds > kSlowestSeconds)
        return std::nullopt;
    return seconds;
}
