#include "sound/BinaryFile.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(BinaryFile, MemoryFileReadsSkipsAndKnowsItsLength)
{
    const std::array<unsigned char, 10> bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    BinaryFile file;
    ASSERT_TRUE(file.OpenMemory(bytes.data(), bytes.size()));
    EXPECT_EQ(file.Length(), 10u);
    unsigned char got[3] = {};
    EXPECT_EQ(file.Read(got, 3), 3u);
    EXPECT_EQ(got[2], 2);
    EXPECT_TRUE(file.Skip(4));
    EXPECT_EQ(file.Position(), 7u);
    EXPECT_EQ(file.Read(got, 3), 3u);
    EXPECT_EQ(got[0], 7);
    EXPECT_TRUE(file.Skip(0));
    EXPECT_FALSE(file.Skip(1));
}

TEST(BinaryFile, SkipOnADiskFileStopsAtItsEnd)
{
    TempFolder folder;
    WriteBytes(folder.Path("f"), std::vector<unsigned char>(100, 7));
    BinaryFile file;
    ASSERT_TRUE(file.Open(folder.Path("f")));
    EXPECT_TRUE(file.Skip(60));
    EXPECT_TRUE(file.Skip(40));
    EXPECT_EQ(file.Position(), 100u);
    EXPECT_FALSE(file.Skip(1));

    ASSERT_TRUE(file.Open(folder.Path("f")));
    EXPECT_FALSE(file.Skip(0xFFFFFFFFull + 1));
}

TEST(BinaryFile, FoldersNeverOpen)
{
    TempFolder folder;
    WriteBytes(folder.Path("f"), {1, 2, 3});
    BinaryFile file;
    EXPECT_FALSE(file.Open(folder.Path("")));
    EXPECT_TRUE(file.Open(folder.Path("f")));
}

}  // namespace
