#include "tests/cli/RunCli.h"
#include "tests/cli/SpawnCli.h"
#include "tests/playback/WaitUntil.h"
#include "tests/sound/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string WriteError(const std::string& path, int error)
{
    return "Error writing file! (" + path + ": " + std::strerror(error) + ")\n";
}

// Every entry under `folder` with the bytes of each regular file: what a
// refused write must leave as it was.
std::map<std::string, std::vector<unsigned char>> Contents(const std::string& folder)
{
    std::map<std::string, std::vector<unsigned char>> contents;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        contents[entry.path().string()] =
            entry.is_regular_file() && !entry.is_symlink() ? ReadBytes(entry.path()) : std::vector<unsigned char>{};
    return contents;
}

bool ExitedWith(int status, int code)
{
    return WIFEXITED(status) && WEXITSTATUS(status) == code;
}

class OutputSafety : public ::testing::Test {
protected:
    void SetUp() override
    {
        bool missing = false;
        user = UnprivilegedUser(missing);
        if (missing)
            noUser = "running as root without a user nobody and a group nogroup";
        else if (user && !ExitedWith(CliChild({"--help"}, {std::nullopt, user}).Wait(), 0))
            noUser = "running as root, and nobody may not run carillix-cli where it was built";
        if (!noUser.empty())
            user.reset();
        Own(Path(""));
    }

    std::string Path(const std::string& name) const { return folder.Path(name); }
    // Gives `path` to the user the CLI runs as.
    void Own(const std::string& path) const
    {
        if (user) {
            ASSERT_EQ(lchown(path.c_str(), user->uid, user->gid), 0) << path;
        }
    }

    std::optional<CliUser> user;
    std::string noUser;  // why permission refusals cannot be tested, when they cannot
    TempFolder folder;
};

// Each target the CLI cannot write is refused with the reason, before the
// bells are loaded (a missing bell would say otherwise), and nothing
// changes: the old files keep their bytes and no temporary file is left.
TEST_F(OutputSafety, AnUnwritablePathIsRefusedWithItsReasonBeforeTheBellsLoad)
{
    if (!noUser.empty())
        GTEST_SKIP() << noUser << ": the refusals of unwritable files are not tested";
    fs::create_directory(Path("dir.wav"));
    fs::create_directory(Path("ro"));
    WriteBytes(Path("old.wav"), {'o', 'l', 'd'});
    WriteBytes(Path("locked.wav"), {'l', 'o', 'c', 'k'});
    ASSERT_EQ(mkfifo(Path("fifo.wav").c_str(), 0644), 0);
    fs::create_symlink("/dev/full", Path("full.wav"));
    for (const char* name : {"dir.wav", "ro", "old.wav", "locked.wav", "fifo.wav", "full.wav"})
        Own(Path(name));
    chmod(Path("ro").c_str(), 0555);
    chmod(Path("locked.wav").c_str(), 0444);
    const auto before = Contents(Path(""));

    struct Case {
        std::string output, timing;
        std::string named;  // the path the message names
        int error;
        bool bellsLoad;  // the fault shows only as the sound is written
    };
    const std::string longName = Path(std::string(252, 'n') + ".wav");  // 256 bytes
    for (const Case& c : {
             Case{Path("missing/out.wav"), "", Path("missing/out.wav"), ENOENT, false},
             Case{Path("dir.wav"), "", Path("dir.wav"), EISDIR, false},
             Case{Path("ro/out.wav"), "", Path("ro/out.wav"), EACCES, false},
             Case{longName, "", longName, ENAMETOOLONG, false},
             Case{Path("locked.wav"), "", Path("locked.wav"), EACCES, false},
             Case{Path("fifo.wav"), "", Path("fifo.wav"), ENXIO, false},
             Case{Path("old.wav"), Path("dir.wav"), Path("dir.wav"), EISDIR, false},
             Case{Path("old.wav"), Path("ro/t.csv"), Path("ro/t.csv"), EACCES, false},
             Case{Path("full.wav"), Path("t.csv"), Path("full.wav"), ENOSPC, true},
         }) {
        SCOPED_TRACE(c.output + " " + c.timing);
        std::vector<std::string> arguments{"render", "--bells", "5"};
        arguments.push_back(c.bellsLoad ? "--demo-bells" : Path("no-such-bell.wav"));
        arguments.insert(arguments.end(), {"-o", c.output});
        if (!c.timing.empty())
            arguments.insert(arguments.end(), {"--timing", c.timing});
        CliChild cli(arguments, {std::nullopt, user});
        EXPECT_TRUE(ExitedWith(cli.Wait(), 1));
        EXPECT_EQ(cli.Err(), WriteError(c.named, c.error));
        EXPECT_EQ(Contents(Path("")), before);
    }
}

// A name of 255 bytes takes a temporary name that fits beside it; a FIFO with
// a reader gets the whole sound, byte for byte as a file does.
TEST_F(OutputSafety, ALongNameAndAFifoWithAReaderAreWritten)
{
    const std::string longName = Path(std::string(251, 'n') + ".wav");
    ASSERT_EQ(RunCli("render --demo-bells --bells 5 -o " + longName).status, 0);
    const auto written = ReadBytes(longName);
    EXPECT_EQ(written.size(), 48u + 2 * 441000);
    EXPECT_EQ(folder.Names().size(), 1u);

    ASSERT_EQ(mkfifo(Path("fifo.wav").c_str(), 0644), 0);
    const int reader = open(Path("fifo.wav").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    CliChild cli({"render", "--demo-bells", "--bells", "5", "-o", Path("fifo.wav")});
    std::vector<unsigned char> heard;
    unsigned char block[65536];
    for (pollfd wait{reader, POLLIN, 0}; poll(&wait, 1, 100) >= 0;) {
        const ssize_t got = read(reader, block, sizeof block);
        if (got > 0)
            heard.insert(heard.end(), block, block + got);
        else if (got == 0 && cli.Ended())
            break;  // the writer has closed, or never opened
    }
    close(reader);
    EXPECT_TRUE(ExitedWith(cli.Wait(), 0)) << cli.Err();
    EXPECT_TRUE(heard == written);
    EXPECT_TRUE(fs::is_fifo(Path("fifo.wav")));
}

// A file-size limit that falls in the last few KB of the file (the encoder's
// final flush) or near its start fails the write in every format: the exit
// status says so and the old file stays, with no temporary file beside it.
TEST_F(OutputSafety, AWriteFailureAnywhereInTheFileKeepsTheOldOne)
{
    const std::vector<unsigned char> old{'o', 'l', 'd'};
    for (const char* name : {"peal.wav", "peal.flac", "peal.ogg", "peal.opus", "peal.mp3"}) {
        const std::string path = Path(name);
        ASSERT_EQ(RunCli("render --demo-bells --bells 5 -o " + path).status, 0) << name;
        const rlim_t whole = ReadBytes(path).size();
        ASSERT_GT(whole, 8192u) << name;
        for (const rlim_t limit : {whole - 2048, rlim_t{4096}}) {
            SCOPED_TRACE(std::string(name) + " limited to " + std::to_string(limit) + " of " + std::to_string(whole));
            WriteBytes(path, old);
            CliChild cli({"render", "--demo-bells", "--bells", "5", "-o", path}, {limit, std::nullopt});
            EXPECT_TRUE(ExitedWith(cli.Wait(), 1));
            EXPECT_EQ(cli.Err(), WriteError(path, EFBIG));
            EXPECT_EQ(ReadBytes(path), old);
            EXPECT_EQ(folder.Names(), std::vector<std::string>{name});
        }
        fs::remove(path);
    }
}

// SIGINT, SIGTERM or SIGHUP during a long render removes the temporary file,
// then the process dies of that signal; the old file stays.
TEST_F(OutputSafety, AnInterruptedRenderLeavesNoTemporaryFileAndDiesOfTheSignal)
{
    const std::vector<unsigned char> old{'o', 'l', 'd'};
    WriteBytes(Path("c.opus"), old);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        CliChild cli({"render", "--demo-bells", "--method", "Cambridge Surprise Sixteen", "--length", "touch", "-o",
                      Path("c.opus")});
        ASSERT_TRUE(WaitUntil([&] { return folder.Names().size() == 2 || cli.Ended(); }, std::chrono::minutes(5)));
        ASSERT_FALSE(cli.Ended()) << cli.Err();
        ASSERT_EQ(kill(cli.Pid(), signal), 0);
        const int status = cli.Wait();
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"c.opus"});
        EXPECT_EQ(ReadBytes(Path("c.opus")), old);
    }
}

// A replaced file keeps its owner, group and mode (root may set them all).
TEST_F(OutputSafety, AReplacedFileKeepsItsOwnerGroupAndMode)
{
    if (!user)
        GTEST_SKIP() << (noUser.empty() ? "not running as root" : noUser)
                     << ": a file of another owner cannot be made to replace";
    WriteBytes(Path("theirs.wav"), {'o'});
    Own(Path("theirs.wav"));
    chmod(Path("theirs.wav").c_str(), 0640);
    ASSERT_EQ(RunCli("render --demo-bells --bells 5 -o " + Path("theirs.wav")).status, 0);
    struct stat status {};
    ASSERT_EQ(stat(Path("theirs.wav").c_str(), &status), 0);
    EXPECT_EQ(status.st_size, 48 + 2 * 441000);
    EXPECT_EQ(status.st_uid, user->uid);
    EXPECT_EQ(status.st_gid, user->gid);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

}  // namespace
