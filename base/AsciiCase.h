#pragma once

// ASCII letters in lower or upper case; every other byte as it is, so UTF-8
// text keeps its other characters. Unlike std::tolower, the same in every
// locale.
constexpr char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
