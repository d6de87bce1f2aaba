#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// User input as a message quotes it: at most `longest` bytes of `text`, cut
// at a UTF-8 character boundary and ended with "..." when cut, so a title or
// calling of megabytes makes a message of one line.
std::string QuotedInput(std::string_view text, std::size_t longest = 40);
