#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest quote of user input that a message carries, in bytes.
inline constexpr std::size_t kMessageQuoteBytes = 40;
// The longest file path a message quotes, in bytes: every path the system
// accepts, whole (PATH_MAX), and no more.
inline constexpr std::size_t kMessagePathBytes = 4096;

// `userText` as a message quotes it (the caller adds any quote marks): valid
// UTF-8 of at most `maxBytes` bytes. Text that fits is kept whole; longer text
// is cut after its last whole character that leaves room for "...", which
// then follows. Each maximal ill-formed subsequence of the input (a byte that
// starts no valid sequence, or a sequence cut short, overlong, a surrogate or
// beyond U+10FFFF) is shown as U+FFFD, counted as its three bytes. A budget
// below 3 bytes is taken as 3.
std::string MessageQuote(std::string_view userText, std::size_t maxBytes = kMessageQuoteBytes);
