#pragma once

#include <cstdint>
#include <string>

// 1000000 as "1,000,000": digits grouped in threes with commas.
std::string GroupedThousands(std::int64_t value);

// A duration of `seconds` (>= 0, whole) as "H:MM:SS", e.g. "2:46:40".
std::string ClockTime(std::int64_t seconds);
