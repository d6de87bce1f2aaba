// The stored tables, checked against the place notation written out here
// independently and expanded by a different method: each run of positions
// between two places is cut into adjacent pairs that cross.
#include "ringing/ChangeTables.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

struct Expected {
    MethodStyle style;
    int stage;
    const char* notation;
};

const Expected kExpected[] = {
    {StyleGrandsire, 5, "3 1 5 1 5 1 5 1 5 1"},
    {StyleGrandsire, 6, "36 16 56 16 56 16 56 16 56 16"},
    {StyleGrandsire, 8, "38 18 78 18 78 18 78 18 78 18 78 18 78 18"},
    {StyleGrandsire, 10, "30 10 90 10 90 10 90 10 90 10 90 10 90 10 90 10 90 10"},
    {StyleGrandsire, 12, "3T 1T ET 1T ET 1T ET 1T ET 1T ET 1T ET 1T ET 1T ET 1T ET 1T ET 1T"},
    {StyleGrandsire, 14, "3B 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B AB 1B"},
    {StyleGrandsire, 16, "3D 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D CD 1D 3D 1D"},
    {StyleStedman, 5, "3 1 5 3 1 3 1 3 5 1 3 1"},
    {StyleStedman, 6, "36 16 56 36 16 36 16 36 56 16 36 16"},
    {StyleStedman, 8, "38 18 78 38 18 38 18 38 78 18 38 18"},
    {StyleStedman, 10, "30 10 90 30 10 30 10 30 90 10 30 10"},
    {StyleStedman, 12, "3T 1T ET 3T 1T 3T 1T 3T ET 1T 3T 1T"},
    {StyleStedman, 14, "3B 1B AB 3B 1B 3B 1B 3B AB 1B 3B 1B"},
    {StyleStedman, 16, "3D 1D CD 3D 1D 3D 1D 3D CD 1D 3D 1D AD ABCD"},
    {StyleTrebleBob, 5, "5 1 5 1 5 1 5 1 5 125"},
    {StyleTrebleBob, 6, "12 36 x 36 14 x 12 x 36 14 x 14 36"},
    {StyleTrebleBob, 8, "12 x 38 x 14 x 1256 x 18 x 12 x 58 x 16 x 78"},
    {StyleTrebleBob, 10, "12 30 x 30 14 x 12 x 30 14 x 14 50 16 x 16 70 14 58 14 90"},
    {StyleTrebleBob, 12, "1T x 5T x 14 5T x 5T 36 14 x 7T 58 16 x 9T 70 18 x 18 9T x 18 x 1T"},
    {StyleTrebleBob, 14, "1B x 5B x 14 5B x 5B 36 14 x 7B 58 16 x 9B 70 18 x EB 9T 10 x 10 EB x 10 x 1B"},
    {StyleTrebleBob, 16, "1D x 5D x 14 5D x 5D 36 14 x 7D 58 16 x 9D 70 18 x ED 9T 10 x AD EB 1T x 1T AD x 1T x 1D 12"},
    {StylePrinciple, 16, "x 3B x 5T x 70 x 14AD x 36EB x 189D x 3B x 189D x 36EB x 14AD x 70 x 5T x 3B"},
};

int Place(char symbol)
{
    const std::string symbols = "1234567890ETABCD";
    return static_cast<int>(symbols.find(symbol)) + 1;
}

// Expands one change: positions between places cross in pairs.
std::vector<int> ExpandChange(const std::string& places, int stage)
{
    std::vector<bool> isPlace(static_cast<std::size_t>(stage) + 2, false);
    if (places != "x")
        for (char symbol : places)
            isPlace[static_cast<std::size_t>(Place(symbol))] = true;
    std::vector<int> entries(static_cast<std::size_t>(stage));
    int runStart = 1;
    for (int p = 1; p <= stage + 1; ++p) {
        if (p <= stage && !isPlace[static_cast<std::size_t>(p)])
            continue;
        // positions runStart .. p-1 form a run of crossing bells
        EXPECT_EQ((p - runStart) % 2, 0) << places << " leaves a bell with no partner";
        for (int a = runStart; a + 1 < p; a += 2) {
            entries[static_cast<std::size_t>(a - 1)] = a;
            entries[static_cast<std::size_t>(a)] = a - 1;
        }
        if (p <= stage)
            entries[static_cast<std::size_t>(p - 1)] = p - 1;
        runStart = p + 1;
    }
    return entries;
}

TEST(ChangeTables, EveryEntryMatchesThePlaceNotation)
{
    for (const Expected& expected : kExpected) {
        SCOPED_TRACE(testing::Message() << "style " << expected.style << ", stage " << expected.stage);
        const ChangeTable* table = FindChangeTable(expected.style, expected.stage);
        ASSERT_NE(table, nullptr);
        std::istringstream words(expected.notation);
        std::string change;
        int r = 0;
        while (words >> change) {
            const std::vector<int> entries = ExpandChange(change, expected.stage);
            for (int q = 0; q < expected.stage; ++q)
                EXPECT_EQ(table->rows[r][q], entries[static_cast<std::size_t>(q)])
                    << "row " << r << " (" << change << "), position " << q;
            ++r;
        }
        EXPECT_EQ(table->rowCount, r);
    }
}

TEST(ChangeTables, EveryRowIsASelfInversePermutation)
{
    for (const Expected& expected : kExpected) {
        const ChangeTable* table = FindChangeTable(expected.style, expected.stage);
        ASSERT_NE(table, nullptr);
        for (int r = 0; r < table->rowCount; ++r) {
            std::vector<bool> seen(static_cast<std::size_t>(expected.stage), false);
            for (int q = 0; q < expected.stage; ++q) {
                const int entry = table->rows[r][q];
                ASSERT_GE(entry, 0);
                ASSERT_LT(entry, expected.stage);
                EXPECT_FALSE(seen[static_cast<std::size_t>(entry)]);
                seen[static_cast<std::size_t>(entry)] = true;
                EXPECT_EQ(table->rows[r][entry], q) << "row " << r << " is not its own inverse";
                EXPECT_LE(std::abs(entry - q), 1) << "row " << r << " moves a bell more than one place";
            }
        }
    }
}

TEST(ChangeTables, SpotEntries)
{
    const auto entries = [](MethodStyle style, int stage, int r) {
        const ChangeTable* table = FindChangeTable(style, stage);
        return std::vector<int>(table->rows[r].begin(), table->rows[r].begin() + stage);
    };
    EXPECT_EQ(entries(StyleGrandsire, 6, 0), (std::vector<int>{1, 0, 2, 4, 3, 5}));
    EXPECT_EQ(entries(StyleStedman, 16, 13), (std::vector<int>{1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 12, 13, 14, 15}));
    EXPECT_EQ(entries(StyleTrebleBob, 16, 33),
              (std::vector<int>{0, 1, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14}));
    EXPECT_EQ(entries(StylePrinciple, 16, 7), (std::vector<int>{0, 2, 1, 3, 5, 4, 7, 6, 9, 8, 11, 10, 12, 14, 13, 15}));
}

TEST(ChangeTables, PrincipleIsSymmetricInTimeAndEndForEnd)
{
    const ChangeTable* table = FindChangeTable(StylePrinciple, 16);
    for (int k = 1; k <= 25; ++k)
        EXPECT_EQ(table->rows[k], table->rows[26 - k]) << "row " << k;
    for (int r = 0; r < 26; ++r)
        for (int q = 0; q < 16; ++q)
            EXPECT_EQ(table->rows[r][q] == q, table->rows[r][15 - q] == 15 - q) << "row " << r;
}

TEST(ChangeTables, NoTableWhereNoneIsRung)
{
    EXPECT_EQ(FindChangeTable(StyleHome, 8), nullptr);
    EXPECT_EQ(FindChangeTable(StyleGrandsire, 7), nullptr);
    EXPECT_EQ(FindChangeTable(StylePrinciple, 12), FindChangeTable(StyleStedman, 12));
}

}  // namespace
