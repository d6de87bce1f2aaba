#include "tests/ringing/ReferenceRinging.h"

#include <algorithm>
#include <cctype>
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

namespace {

// The observation bell's place (from 1) that a position letter asks for.
int PlaceFor(char letter, int stage, const std::string& call)
{
    const bool even = stage % 2 == 0;
    if (letter == 'H')
        return stage;
    if (letter == 'W')
        return even ? stage - 1 : stage - 2;
    if (letter == 'M')
        return even ? stage - 2 : stage - 1;
    if (letter == 'B') {
        // 2 if any change of the call keeps the bell in 2nds where it is.
        for (const std::string& token : LeadTokens(call))
            if (Ring(token, kSymbols.substr(0, stage), stage)[1] == '2')
                return 2;
        return 3;
    }
    const std::string letters = "I.OTFVXSEN";
    const int places[] = {2, 0, 3, 3, 4, 5, 6, 7, 8, 9};
    return places[letters.find(letter)];
}

}  // namespace

std::vector<std::string> PositionTouchRows(const std::string& notation, int stage, const std::string& bob,
                                           const std::string& single, const std::string& calling, int parts,
                                           char observation, int limit)
{
    // The calls in order, written out: pairs of call notation and place.
    std::vector<std::pair<std::string, int>> calls;
    for (int part = 0; part < parts; ++part) {
        for (const std::string& word : Split(calling, ' ')) {
            if (word.empty())
                continue;
            std::size_t at = 0;
            int count = 0;
            while (std::isdigit(static_cast<unsigned char>(word[at])))
                count = count * 10 + (word[at++] - '0');
            std::string call = bob;
            if (word[at] == 's' || word[at] == '-')
                call = word[at++] == 's' ? single : bob;
            for (int k = 0; k < std::max(count, 1); ++k)
                calls.emplace_back(call, PlaceFor(word[at], stage, call));
        }
    }
    const std::vector<std::string> plain = LeadTokens(notation);
    const std::string rounds = kSymbols.substr(0, stage);
    std::vector<std::string> rows{rounds};
    std::size_t next = 0;
    while (static_cast<int>(rows.size()) <= limit) {
        std::vector<std::string> lead = plain;
        if (next < calls.size()) {
            std::vector<std::string> called = plain;
            const std::vector<std::string> call = LeadTokens(calls[next].first);
            std::copy(call.begin(), call.end(), called.end() - static_cast<long>(call.size()));
            std::string head = rows.back();
            for (const std::string& token : called)
                head = Ring(token, head, stage);
            if (static_cast<int>(head.find(observation)) + 1 == calls[next].second) {
                lead = called;
                ++next;
            }
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
