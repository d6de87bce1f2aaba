#pragma once

#include <optional>
#include <string_view>

// A peal speed as ringers write it, hours and minutes: "2h45", "2h 45", or
// "3h" for whole hours (minutes 00..59, two digits), from 1h30 to 5h00. The
// time of a peal of 5000 changes in seconds; nullopt for anything else.
std::optional<double> ParsePealSpeed(std::string_view text);
