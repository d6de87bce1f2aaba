#include "playback/PlayResult.h"

#include <gtest/gtest.h>

TEST(PlayResultTextTest, EachCodeHasItsTextAndAnyOtherReadsSoundError)
{
    const struct {
        std::int16_t code;
        const char* text;
    } cases[] = {
        {PlayOK, "Sound playing"},
        {PlayLengthZero, "Play length zero!"},
        {PlayFormatNotSupported, "Sound format not supported!"},
        {PlayOpenFailed, "Failed to open sound device!"},
        {PlayDriverFailure, "Sound driver failure!"},
        {5, "Sound error!"},
        {-1, "Sound error!"},
        {32767, "Sound error!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlayResultText(c.code), c.text) << "code " << c.code;
}
