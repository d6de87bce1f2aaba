#include "sound/FileReplacement.h"
#include "sound/SoundFileWriter.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

// Replaces `path` with `bytes` through a FileReplacement; false when any step fails.
bool Replace(const std::string& path, const std::vector<unsigned char>& bytes)
{
    FileReplacement replacement(path);
    if (!replacement.Create())
        return false;
    WriteBytes(replacement.TemporaryPath(), bytes);
    return replacement.Commit();
}

mode_t ModeOf(const std::string& path)
{
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

TEST(FileReplacement, ALinkStaysALinkAndItsFinalTargetIsReplaced)
{
    TempFolder folder;
    fs::create_directory(folder.Path("bells"));
    WriteBytes(folder.Path("bells/peal.wav"), {'o', 'l', 'd'});
    fs::create_symlink("bells/peal.wav", folder.Path("relative"));
    fs::create_symlink(folder.Path("relative"), folder.Path("absolute"));  // a chain of two links

    ASSERT_TRUE(Replace(folder.Path("absolute"), {'n', 'e', 'w'}));
    EXPECT_TRUE(fs::is_symlink(folder.Path("absolute")));
    EXPECT_TRUE(fs::is_symlink(folder.Path("relative")));
    EXPECT_EQ(ReadBytes(folder.Path("bells/peal.wav")), (std::vector<unsigned char>{'n', 'e', 'w'}));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"absolute", "bells", "relative"}));
    EXPECT_EQ(TempFolderNames(folder.Path("bells")), std::vector<std::string>{"peal.wav"});

    // A dangling link names the file to create.
    fs::create_symlink("bells/new.wav", folder.Path("dangling"));
    ASSERT_TRUE(Replace(folder.Path("dangling"), {'x'}));
    EXPECT_TRUE(fs::is_symlink(folder.Path("dangling")));
    EXPECT_EQ(ReadBytes(folder.Path("bells/new.wav")), std::vector<unsigned char>{'x'});
}

TEST(FileReplacement, TheReplacedFileKeepsItsModeAndANewOneGetsTheUsualMode)
{
    TempFolder folder;
    const std::string kept = folder.Path("kept.wav");
    WriteBytes(kept, {1});
    chmod(kept.c_str(), 0640);
    ASSERT_TRUE(Replace(kept, {2, 3}));
    EXPECT_EQ(ModeOf(kept), 0640u);

    const mode_t mask = umask(022);
    ASSERT_TRUE(Replace(folder.Path("fresh.wav"), {4}));
    umask(mask);
    EXPECT_EQ(ModeOf(folder.Path("fresh.wav")), 0644u);
}

TEST(FileReplacement, TheTemporaryFileIsHiddenBesideTheTargetShortAndGoesUnlessCommitted)
{
    TempFolder folder;
    const std::string longest = std::string(251, 'n') + ".wav";  // 255 bytes, the most a name may have
    for (const std::string& name : {std::string("out.wav"), longest}) {
        WriteBytes(folder.Path(name), {'o'});
        {
            FileReplacement replacement(folder.Path(name));
            ASSERT_TRUE(replacement.Create());
            const fs::path temporary(replacement.TemporaryPath());
            EXPECT_EQ(temporary.parent_path(), fs::path(folder.Path(name)).parent_path());
            EXPECT_EQ(temporary.filename().string().size(), 18u) << temporary;
            EXPECT_EQ(temporary.filename().string().rfind(".carillix-", 0), 0u) << temporary;
            EXPECT_TRUE(fs::exists(temporary));
            WriteBytes(replacement.TemporaryPath(), {'h', 'a', 'l', 'f'});
        }
        EXPECT_EQ(folder.Names(), std::vector<std::string>{name});
        EXPECT_EQ(ReadBytes(folder.Path(name)), std::vector<unsigned char>{'o'});
        fs::remove(folder.Path(name));
    }
}

// When the second of two targets cannot be replaced at the last step (it
// became a folder after both were checked), the first gets its old file
// back, or goes again if it was new, and no temporary file stays.
TEST(FileReplacement, TwoFilesAreReplacedBothOrNeither)
{
    for (const bool firstExisted : {true, false}) {
        for (const bool secondFails : {true, false}) {
            SCOPED_TRACE(::testing::Message() << "first existed " << firstExisted << ", second fails " << secondFails);
            TempFolder folder;
            if (firstExisted)
                WriteBytes(folder.Path("a.wav"), {'o', 'l', 'd'});
            FileReplacement first(folder.Path("a.wav"));
            FileReplacement second(folder.Path("a.csv"));
            ASSERT_TRUE(first.Create() && second.Create());
            WriteBytes(first.TemporaryPath(), {'n', 'e', 'w'});
            WriteBytes(second.TemporaryPath(), {'t'});
            if (secondFails)
                fs::create_directory(folder.Path("a.csv"));
            EXPECT_EQ(CommitReplacements({&first, &second}), !secondFails);
            EXPECT_EQ(second.Error(), secondFails ? EISDIR : 0);
            using Bytes = std::vector<unsigned char>;
            std::map<std::string, Bytes> expected{{"a.csv", secondFails ? Bytes{} : Bytes{'t'}}};
            if (firstExisted || !secondFails)
                expected["a.wav"] = secondFails ? Bytes{'o', 'l', 'd'} : Bytes{'n', 'e', 'w'};
            std::map<std::string, Bytes> found;
            for (const std::string& name : folder.Names())
                found[name] = fs::is_directory(folder.Path(name)) ? Bytes{} : ReadBytes(folder.Path(name));
            EXPECT_EQ(found, expected);
        }
    }
}

TEST(FileReplacement, ALoopOfLinksOrAnEmptyPathIsRefusedWithoutATrace)
{
    TempFolder folder;
    fs::create_symlink("b", folder.Path("a"));
    fs::create_symlink("a", folder.Path("b"));
    EXPECT_FALSE(Replace(folder.Path("a"), {1}));
    EXPECT_FALSE(Replace("", {1}));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"a", "b"}));
}

TEST(FileReplacement, SavingAWavThroughALinkWritesTheLinkedFile)
{
    TempFolder folder;
    WriteBytes(folder.Path("target.wav"), std::vector<unsigned char>(100, 'x'));
    chmod(folder.Path("target.wav").c_str(), 0600);
    fs::create_symlink("target.wav", folder.Path("link.wav"));
    CSoundBuffer sound;
    ASSERT_TRUE(sound.InitPcm16(8000, 2, 16));
    sound.samples[0] = sound.samples[1] = 0;
    ASSERT_TRUE(SaveWavTo(sound, folder.Path("link.wav")));
    EXPECT_EQ(sound.fileName, folder.Path("link.wav"));
    EXPECT_TRUE(fs::is_symlink(folder.Path("link.wav")));
    EXPECT_EQ(ReadBytes(folder.Path("target.wav")).size(), 52u);
    EXPECT_EQ(ModeOf(folder.Path("target.wav")), 0600u);
}

}  // namespace
