#include "base/MessageQuote.h"

#include <algorithm>

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD
constexpr std::string_view kEllipsis = "...";

struct Sequence {
    std::size_t length;  // at least 1
    bool wellFormed;
};

// The UTF-8 sequence that starts at text[at]: a well-formed character, or
// else the maximal ill-formed subsequence there.
Sequence SequenceAt(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80)
        return {1, true};
    std::size_t length = 0;
    unsigned char low = 0x80;  // the second byte's range, narrowed after some leads
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return {1, false};
    }
    std::size_t good = 1;
    for (; good < length && at + good < text.size(); ++good) {
        const auto byte = static_cast<unsigned char>(text[at + good]);
        if (byte < (good == 1 ? low : 0x80) || byte > (good == 1 ? high : 0xBF))
            break;
    }
    return {good, good == length};
}

}  // namespace

std::string MessageQuote(std::string_view userText, std::size_t maxBytes)
{
    maxBytes = std::max(maxBytes, kEllipsis.size());
    std::string shown;
    std::size_t cut = 0;  // where "..." goes if the text turns out too long: after a whole character
    for (std::size_t at = 0; at < userText.size();) {
        const Sequence sequence = SequenceAt(userText, at);
        shown.append(sequence.wellFormed ? userText.substr(at, sequence.length) : kReplacement);
        at += sequence.length;
        if (shown.size() > maxBytes) {
            shown.resize(cut);
            return shown.append(kEllipsis);
        }
        if (shown.size() <= maxBytes - kEllipsis.size())
            cut = shown.size();
    }
    return shown;
}
