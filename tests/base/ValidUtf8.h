#pragma once

#include <iconv.h>

#include <string>

// True when `text` is valid UTF-8, by glibc's own decoder, strict about
// overlongs, surrogates and range.
inline bool IsValidUtf8(std::string text)
{
    const iconv_t decoder = iconv_open("UTF-32LE", "UTF-8");
    std::string out(4 * text.size() + 4, '\0');
    char* in = text.data();
    char* to = out.data();
    std::size_t inLeft = text.size();
    std::size_t outLeft = out.size();
    const bool converted = iconv(decoder, &in, &inLeft, &to, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(decoder);
    return converted && inLeft == 0;
}
