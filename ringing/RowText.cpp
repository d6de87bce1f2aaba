#include "ringing/RowText.h"

std::string RowText(const Row& row, int stage)
{
    static constexpr char kSymbols[] = "1234567890ETABCD";
    std::string text;
    text.reserve(static_cast<std::size_t>(stage));
    for (int q = 0; q < stage; ++q)
        text.push_back(kSymbols[row[q]]);
    return text;
}
