#include "ringing/NextRow.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

std::vector<int> Bells(const Row& row, int stage)
{
    return std::vector<int>(row.begin(), row.begin() + stage);
}

// Rings as the renderer does: from the home row, NextRow(1), NextRow(2), ...
// Returns every row up to and including `lastIndex`.
std::vector<Row> Ring(int stage, MethodStyle style, int lastIndex)
{
    std::vector<Row> rows{HomeRow()};
    Row row = HomeRow();
    for (int index = 1; index <= lastIndex; ++index) {
        NextRow(index, row, static_cast<std::int16_t>(stage), style);
        rows.push_back(row);
    }
    return rows;
}

// The first rowIndex at which NextRow reports home, or -1 within `limit`.
int ComeHomeIndex(int stage, MethodStyle style, int limit = 5000)
{
    Row row = HomeRow();
    for (int index = 1; index <= limit; ++index)
        if (NextRow(index, row, static_cast<std::int16_t>(stage), style))
            return index;
    return -1;
}

struct ComeHome {
    MethodStyle style;
    int stage;
    int rowIndex;
};

const ComeHome kComeHome[] = {
    {StyleTrebleBob, 6, 123},
    {StyleTrebleBob, 8, 227},
    {StyleTrebleBob, 10, 363},
    {StyleTrebleBob, 12, 531},
    {StyleTrebleBob, 14, 731},
    {StyleTrebleBob, 16, 131},
    {StyleGrandsire, 6, 33},
    {StyleGrandsire, 8, 73},
    {StyleGrandsire, 10, 129},
    {StyleGrandsire, 12, 201},
    {StyleGrandsire, 14, 289},
    {StyleGrandsire, 16, 213},
    {StyleStedman, 6, 63},
    {StyleStedman, 8, 87},
    {StyleStedman, 10, 111},
    {StyleStedman, 12, 135},
    {StyleStedman, 14, 159},
    {StyleStedman, 16, 183},
    {StylePrinciple, 16, 419},
    // Stage 5: Grandsire Doubles, Stedman Doubles, Plain Bob Doubles.
    {StyleGrandsire, 5, 33},
    {StyleStedman, 5, 63},
    {StyleTrebleBob, 5, 43},
};

TEST(NextRow, EveryTouchComesHomeWithoutRepeatingARow)
{
    for (const ComeHome& expected : kComeHome) {
        SCOPED_TRACE(testing::Message() << "style " << expected.style << ", stage " << expected.stage);
        EXPECT_EQ(ComeHomeIndex(expected.stage, expected.style), expected.rowIndex);
        const std::vector<Row> rows = Ring(expected.stage, expected.style, expected.rowIndex - 1);
        std::set<std::vector<int>> seen;
        for (std::size_t index = 4; index < rows.size(); ++index)
            EXPECT_TRUE(seen.insert(Bells(rows[index], expected.stage)).second) << "row " << index << " repeats";
    }
}

TEST(NextRow, OpeningRowsAndHomeStyleLeaveTheRowAlone)
{
    for (MethodStyle style : {StyleHome, StyleTrebleBob, StyleGrandsire, StyleStedman, StylePrinciple}) {
        for (int index = 1; index <= 3; ++index) {
            Row row = HomeRow();
            EXPECT_FALSE(NextRow(index, row, 16, style));
            EXPECT_EQ(row, HomeRow());
        }
    }
    Row row = HomeRow();
    for (int index : {4, 5, 33, 1000})
        EXPECT_FALSE(NextRow(index, row, 8, StyleHome));
    EXPECT_EQ(row, HomeRow());
}

TEST(NextRow, EntriesBeyondTheStageAreNeverTouched)
{
    Row row = HomeRow();
    for (int q = 6; q < 16; ++q)
        row[q] = -7;
    for (int index = 1; index < 40; ++index)
        NextRow(index, row, 6, StyleGrandsire);
    for (int q = 6; q < 16; ++q)
        EXPECT_EQ(row[q], -7);
}

TEST(NextRow, StylesOutsideTheRangeRingAsGrandsire)
{
    const auto outside = static_cast<MethodStyle>(9);
    EXPECT_EQ(ComeHomeIndex(8, outside), 73);
    EXPECT_EQ(Ring(8, outside, 20), Ring(8, StyleGrandsire, 20));
}

TEST(NextRow, PrincipleBelowSixteenRingsStedman)
{
    EXPECT_EQ(Ring(12, StylePrinciple, 140), Ring(12, StyleStedman, 140));
}

TEST(NextRow, GrandsireOnSix)
{
    const auto rows = Ring(6, StyleGrandsire, 33);
    EXPECT_EQ(Bells(rows[4], 6), (std::vector<int>{1, 0, 2, 4, 3, 5}));
    EXPECT_EQ(Bells(rows[5], 6), (std::vector<int>{1, 2, 0, 3, 4, 5}));
    EXPECT_EQ(Bells(rows[6], 6), (std::vector<int>{2, 1, 3, 0, 4, 5}));
    EXPECT_EQ(Bells(rows[7], 6), (std::vector<int>{2, 3, 1, 4, 0, 5}));
    EXPECT_EQ(Bells(rows[13], 6), (std::vector<int>{0, 1, 4, 2, 3, 5}));
    EXPECT_EQ(Bells(rows[23], 6), (std::vector<int>{0, 1, 3, 4, 2, 5}));
    EXPECT_EQ(Bells(rows[32], 6), (std::vector<int>{0, 2, 1, 4, 3, 5}));
    EXPECT_EQ(Bells(rows[33], 6), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

TEST(NextRow, TrebleBobOnSix)
{
    const auto rows = Ring(6, StyleTrebleBob, 28);
    EXPECT_EQ(Bells(rows[4], 6), (std::vector<int>{1, 0, 2, 4, 3, 5}));
    EXPECT_EQ(Bells(rows[5], 6), (std::vector<int>{0, 1, 4, 2, 5, 3}));
    EXPECT_EQ(Bells(rows[6], 6), (std::vector<int>{1, 0, 4, 5, 2, 3}));
    EXPECT_EQ(Bells(rows[7], 6), (std::vector<int>{1, 4, 0, 5, 3, 2}));
    EXPECT_EQ(Bells(rows[27], 6), (std::vector<int>{0, 3, 1, 5, 2, 4}));
    // The treble's path over the first lead: one dodge in each pair of positions.
    const std::vector<int> treblePath{1, 0, 1, 2, 3, 2, 3, 4, 5, 4, 5, 5, 4, 5, 4, 3, 2, 3, 2, 1, 0, 1, 0, 0};
    for (std::size_t change = 0; change < treblePath.size(); ++change) {
        const Row& row = rows[4 + change];
        const int position = static_cast<int>(std::find(row.begin(), row.begin() + 6, 0) - row.begin());
        EXPECT_EQ(position, treblePath[change]) << "change " << change + 1;
    }
}

TEST(NextRow, StedmanOnEight)
{
    const auto rows = Ring(8, StyleStedman, 7);
    EXPECT_EQ(Bells(rows[4], 8), (std::vector<int>{1, 0, 2, 4, 3, 6, 5, 7}));
    EXPECT_EQ(Bells(rows[5], 8), (std::vector<int>{1, 2, 0, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Bells(rows[6], 8), (std::vector<int>{2, 1, 3, 0, 5, 4, 6, 7}));
    EXPECT_EQ(Bells(rows[7], 8), (std::vector<int>{1, 2, 3, 5, 0, 6, 4, 7}));
}

TEST(NextRow, StedmanOnSixteenRingsItsCalls)
{
    Row row{1, 2, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    NextRow(6, row, 16, StyleStedman);
    EXPECT_EQ(Bells(row, 16), (std::vector<int>{2, 1, 3, 0, 5, 4, 7, 6, 9, 8, 11, 10, 12, 14, 13, 15}));

    const auto rows = Ring(16, StyleStedman, 180);
    EXPECT_EQ(Bells(rows[180], 16), (std::vector<int>{2, 1, 0, 4, 3, 6, 5, 8, 7, 10, 9, 12, 11, 14, 13, 15}));
}

TEST(NextRow, TrebleBobOnSixteenAlternatesItsLeadEnds)
{
    const auto rows = Ring(16, StyleTrebleBob, 131);
    EXPECT_EQ(Bells(rows[66], 16), (std::vector<int>{0, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(Bells(rows[67], 16), (std::vector<int>{0, 14, 15, 12, 13, 10, 11, 8, 9, 6, 7, 4, 5, 2, 3, 1}));
    EXPECT_EQ(Bells(rows[130], 16), (std::vector<int>{0, 1, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14}));
    EXPECT_TRUE(IsHomeRow(rows[131], 16));
}

TEST(NextRow, PrincipleOnSixteen)
{
    const auto rows = Ring(16, StylePrinciple, 29);
    EXPECT_EQ(Bells(rows[4], 16), (std::vector<int>{1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14}));
    EXPECT_EQ(Bells(rows[29], 16), (std::vector<int>{13, 15, 11, 14, 9, 12, 7, 10, 5, 8, 3, 6, 1, 4, 0, 2}));
}

TEST(NextRow, StageFiveRingsTheDoublesMethods)
{
    // Grandsire Doubles: 3.1.5.1.5.1.5.1.5.1 from row 4.
    const auto grandsire = Ring(5, StyleGrandsire, 6);
    EXPECT_EQ(Bells(grandsire[4], 5), (std::vector<int>{1, 0, 2, 4, 3}));
    EXPECT_EQ(Bells(grandsire[5], 5), (std::vector<int>{1, 2, 0, 3, 4}));
    EXPECT_EQ(Bells(grandsire[6], 5), (std::vector<int>{2, 1, 3, 0, 4}));
    // Plain Bob Doubles: the lead end 125 comes at row 13.
    const auto bob = Ring(5, StyleTrebleBob, 13);
    EXPECT_EQ(Bells(bob[4], 5), (std::vector<int>{1, 0, 3, 2, 4}));
    EXPECT_EQ(Bells(bob[12], 5), (std::vector<int>{0, 2, 1, 4, 3}));
    EXPECT_EQ(Bells(bob[13], 5), (std::vector<int>{0, 2, 4, 1, 3}));
    // Stedman Doubles opens with the end of a quick six: 3, then 1.
    const auto stedman = Ring(5, StyleStedman, 5);
    EXPECT_EQ(Bells(stedman[4], 5), (std::vector<int>{1, 0, 2, 4, 3}));
    EXPECT_EQ(Bells(stedman[5], 5), (std::vector<int>{1, 2, 0, 3, 4}));
}

}  // namespace
