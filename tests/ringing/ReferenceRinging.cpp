#include "tests/ringing/ReferenceRinging.h"

#include <algorithm>
#include <set>

namespace reference {

namespace {

const std::string kSymbols = "1234567890ETABCD";

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == separator)
            parts.emplace_back();
        else
            parts.back() += c;
    }
    return parts;
}

}  // namespace

std::vector<std::string> LeadTokens(const std::string& notation)
{
    const std::vector<std::string> segments = Split(notation, ',');
    std::vector<std::string> tokens;
    for (const std::string& segment : segments) {
        std::string spaced;
        for (const char c : segment)
            spaced += (c == '-' || c == 'x' || c == 'X') ? std::string(".x.") : std::string(1, c);
        std::vector<std::string> written;
        for (const std::string& token : Split(spaced, '.'))
            if (!token.empty())
                written.push_back(token);
        tokens.insert(tokens.end(), written.begin(), written.end());
        if (segments.size() > 1)
            tokens.insert(tokens.end(), written.rbegin() + 1, written.rend());
    }
    return tokens;
}

std::string Ring(const std::string& token, std::string row, int stage)
{
    std::set<int> places;
    if (token != "x") {
        for (const char c : token)
            places.insert(static_cast<int>(kSymbols.find(c)));
        if (*places.begin() % 2 == 1)
            places.insert(0);
        if ((stage - 1 - *places.rbegin()) % 2 == 1)
            places.insert(stage - 1);
    }
    for (int q = 0; q < stage;) {
        if (places.count(q) != 0) {
            ++q;
        } else {
            std::swap(row[q], row[q + 1]);
            q += 2;
        }
    }
    return row;
}

std::vector<std::string> TouchRows(const std::string& notation, int stage, int bells, const std::vector<int>& callEnds,
                                   const std::string& bob, const std::string& single, const std::string& calling,
                                   int limit)
{
    const std::vector<std::string> plainLead = LeadTokens(notation);
    const std::string rounds = kSymbols.substr(0, bells);
    std::vector<std::string> rows{rounds};
    std::size_t callIndex = 0;
    while (static_cast<int>(rows.size()) <= limit) {
        std::vector<std::string> lead = plainLead;
        for (const int end : callEnds) {
            const char letter = calling.empty() ? 'p' : calling[callIndex++ % calling.size()];
            if (letter == 'p')
                continue;
            const std::vector<std::string> call = LeadTokens(letter == 'b' ? bob : single);
            std::copy(call.begin(), call.end(), lead.begin() + (end - static_cast<int>(call.size())));
        }
        for (const std::string& token : lead) {
            rows.push_back(Ring(token, rows.back(), stage));
            if (rows.back() == rounds)
                return rows;
        }
    }
    return {};
}

}  // namespace reference
