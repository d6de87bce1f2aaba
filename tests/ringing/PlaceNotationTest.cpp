#include "ringing/PlaceNotation.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<Change> Read(std::string_view notation, int stage)
{
    const PlaceNotation read = ReadPlaceNotation(notation, stage);
    EXPECT_EQ(read.fault, "") << notation << " on " << stage;
    return read.changes;
}

std::vector<int> Entries(const Change& change, int count)
{
    return std::vector<int>(change.begin(), change.begin() + count);
}

TEST(PlaceNotation, RefusalsNameTheFaultAndWhereItIs)
{
    struct Case {
        const char* notation;
        int stage;
        const char* fault;
    };
    for (const Case& c : {
             Case{"", 6, "the notation is empty"},
             Case{"-16-1Q,12", 6, "unknown symbol 'Q' at character 6"},
             Case{"-16 -16", 6, "unknown symbol ' ' at character 4"},
             Case{"1q", 12, "unknown symbol 'q' at character 2"},
             Case{"\xC3\xA9", 6, "unknown symbol byte 0xC3 at character 1"},
             Case{"-19-16,12", 6, "place '9' at character 3 is beyond the stage of 6"},
             Case{"-1D", 14, "place 'D' at character 3 is beyond the stage of 14"},
             Case{"3.-.1", 5, "a cross at character 3 needs an even stage, not 5"},
             Case{"x", 7, "a cross at character 1 needs an even stage, not 7"},
             Case{"-13-", 6, "places '1' and '3' at character 2 leave an odd number of bells between them"},
             Case{"24", 6, "places '2' and '4' at character 1 leave an odd number of bells between them"},
             Case{"1231", 6, "place '1' at character 4 is written twice in one change"},
             Case{".5.1", 5, "'.' at character 1 does not stand between two changes"},
             Case{"5..1", 5, "'.' at character 3 does not stand between two changes"},
             Case{"5.1.", 5, "'.' at character 4 does not stand between two changes"},
             Case{",12", 6, "nothing before ',' at character 1"},
             Case{"-16,", 6, "nothing after ',' at character 4"},
             Case{"-16,,12", 6, "nothing after ',' at character 4"},
             Case{"x", 2, "stage 2 is outside 3 to 16"},
             Case{"x", 18, "stage 18 is outside 3 to 16"},
         }) {
        const PlaceNotation read = ReadPlaceNotation(c.notation, c.stage);
        EXPECT_EQ(read.fault, c.fault) << c.notation << " on " << c.stage;
        EXPECT_TRUE(read.changes.empty()) << c.notation;
    }
}

TEST(PlaceNotation, ChangesSwapEveryPositionThatIsNotAPlace)
{
    EXPECT_EQ(Entries(Read("36", 6)[0], 6), (std::vector<int>{1, 0, 2, 4, 3, 5}));
    EXPECT_EQ(Entries(Read("x", 8)[0], 8), (std::vector<int>{1, 0, 3, 2, 5, 4, 7, 6}));
    EXPECT_EQ(Entries(Read("1234", 4)[0], 4), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Entries(Read("1", 3)[0], 3), (std::vector<int>{0, 2, 1}));
    EXPECT_EQ(Read("-", 16)[0], (Change{1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14}));
    const Change change = Read("14", 6)[0];
    for (int q = 6; q < kMaxBells; ++q)
        EXPECT_EQ(change[q], q) << "positions beyond the stage stay";
}

TEST(PlaceNotation, ImplicitPlacesAtTheFrontAndTheBack)
{
    struct Case {
        const char* written;
        const char* meant;
        int stage;
    };
    for (const Case& c : {
             Case{"4", "14", 6},
             Case{"1", "16", 6},
             Case{"3", "36", 6},
             Case{"5", "58", 8},
             Case{"2", "125", 5},
             Case{"E", "ET", 12},
             Case{"4", "145", 5},
         }) {
        EXPECT_EQ(Read(c.written, c.stage), Read(c.meant, c.stage)) << c.written << " on " << c.stage;
    }
    EXPECT_EQ(Entries(Read("3", 5)[0], 5), (std::vector<int>{1, 0, 2, 4, 3})) << "3 alone on five";
    EXPECT_EQ(Entries(Read("1", 5)[0], 5), (std::vector<int>{0, 2, 1, 4, 3})) << "1 alone on five";
    EXPECT_EQ(Entries(Read("5", 5)[0], 5), (std::vector<int>{1, 0, 3, 2, 4})) << "5 alone on five";
}

TEST(PlaceNotation, CrossesSeparatorsAndOrderOfPlaces)
{
    EXPECT_EQ(Read("-16-", 6), Read("x16X", 6));
    EXPECT_EQ(Read("-16-", 6), Read("x.16.x", 6));
    EXPECT_EQ(Read("41", 6), Read("14", 6));
    EXPECT_EQ(Read("-5t-14.5t-5t.36.14-7t.58.16-9t.70.18-18.9t-18-1t,1t", 12),
              Read("-5T-14.5T-5T.36.14-7T.58.16-9T.70.18-18.9T-18-1T,1T", 12))
        << "places above 9 in either case";
    EXPECT_EQ(Read("1234567890etabcd", 16), Read("1234567890ETABCD", 16));
    EXPECT_EQ(Read("--", 4).size(), 2u);
    EXPECT_EQ(Read("3.1.5.1.5.1.5.1.5.1", 5).size(), 10u);
    EXPECT_EQ(Read("1234", 4).size(), 1u);
}

TEST(PlaceNotation, SegmentsArePalindromesWrittenToTheirMiddle)
{
    const std::vector<Change> plainBob = Read("-16-16-16,12", 6);
    EXPECT_EQ(plainBob.size(), 12u);
    EXPECT_EQ(plainBob, Read("-16-16-16-16-16-12", 6));
    EXPECT_EQ(Read("3,1.5.1.5.1", 5), Read("3.1.5.1.5.1.5.1.5.1", 5));
    EXPECT_EQ(Read("34-34.16-12-16-12-16,16", 6).size(), 24u);
    EXPECT_EQ(Read("x14,16,1234", 6), Read("x14x.16.1234", 6)) << "every segment reflects";
    EXPECT_EQ(Read("3.1.7.3.1.3.1.3.7.1.3.1", 7).size(), 12u) << "without ',' rung as written";
}

}  // namespace
