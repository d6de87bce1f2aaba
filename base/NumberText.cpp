#include "base/NumberText.h"

#include <cstdio>

std::string GroupedThousands(std::int64_t value)
{
    const std::string digits = std::to_string(value);
    std::string grouped;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at > 0 && (digits.size() - at) % 3 == 0 && digits[at - 1] != '-')
            grouped.push_back(',');
        grouped.push_back(digits[at]);
    }
    return grouped;
}

std::string ClockTime(std::int64_t seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    return text;
}
