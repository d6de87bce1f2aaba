#include "base/MessageQuote.h"
#include "tests/base/ValidUtf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

namespace {

TEST(MessageQuote, EachMaximalIllFormedSubpartShowsAsOneReplacementCharacter)
{
    const std::string r = "\xEF\xBF\xBD";
    struct Case {
        std::string text;
        std::size_t budget;
        std::string shown;
    };
    for (const Case& c : {
             Case{"-16-16-16,12", 40, "-16-16-16,12"},
             // The Unicode standard's own example of maximal subparts.
             Case{"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64", 40,
                  "a" + r + r + r + "b" + r + "c" + r + r + "d"},
             // Overlong, surrogate, beyond U+10FFFF: every byte on its own.
             Case{"\xC0\xAF\xED\xA0\x80\xF4\x90\x80\x80", 40, r + r + r + r + r + r + r + r + r},
             Case{"x\xC3", 3, "..."},
             Case{"abcdef", 0, "..."},
         }) {
        EXPECT_EQ(MessageQuote(c.text, c.budget), c.shown) << c.text << " in " << c.budget;
    }
}

TEST(MessageQuote, CutsAfterTheLastWholeCharacterThatLeavesRoomForTheEllipsis)
{
    const auto startsCharacter = [](char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; };
    const std::string text = "pn \xC3\xA9\xE2\x82\xAC x\xF0\x9F\x94\x94-16\xC3\xA9\xE2\x82\xAC\xF0\x9F\x94\x94 end";
    for (std::size_t budget = 3; budget < text.size(); ++budget) {
        const std::string shown = MessageQuote(text, budget);
        ASSERT_TRUE(IsValidUtf8(shown) && shown.ends_with("...")) << budget;
        const std::string kept = shown.substr(0, shown.size() - 3);
        EXPECT_TRUE(text.starts_with(kept) && startsCharacter(text[kept.size()])) << budget;
        std::size_t next = kept.size() + 1;
        while (next < text.size() && !startsCharacter(text[next]))
            ++next;
        EXPECT_GT(next + 3, budget) << "the next whole character would have fitted, budget " << budget;
    }
    EXPECT_EQ(MessageQuote(text, text.size()), text);
    std::mt19937 random(18);
    for (int trial = 0; trial < 2000; ++trial) {
        std::string bytes(random() % 24, '\0');
        std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<char>(random() % 256); });
        const std::size_t budget = 3 + random() % 27;
        const std::string shown = MessageQuote(bytes, budget);
        EXPECT_TRUE(IsValidUtf8(shown) && shown.size() <= budget) << trial;
    }
}

}  // namespace
