#include "ringing/QuotedInput.h"

namespace {

bool IsContinuationByte(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0u) == 0x80u;
}

}  // namespace

std::string QuotedInput(std::string_view text, std::size_t longest)
{
    constexpr std::string_view kEllipsis = "...";
    if (text.size() <= longest)
        return std::string(text);
    std::size_t cut = longest > kEllipsis.size() ? longest - kEllipsis.size() : 0;
    while (cut > 0 && IsContinuationByte(text[cut]))
        --cut;
    return std::string(text.substr(0, cut)) + std::string(kEllipsis);
}
