#include "ringing/RowText.h"

std::string RowText(const Row& row, int stage)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(stage));
    for (int q = 0; q < stage; ++q)
        text.push_back(kBellSymbols[static_cast<std::size_t>(row[q])]);
    return text;
}
