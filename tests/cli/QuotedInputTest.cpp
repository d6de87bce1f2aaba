#include "tests/base/ValidUtf8.h"
#include "tests/cli/SpawnCli.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

// Every message that quotes what the user typed quotes it whole when short,
// and cut at a character boundary when long: 100 KB of input (with a
// two-byte character across every cut) gives a message of a few KB at most,
// and always valid UTF-8.
TEST(QuotedInput, MessagesQuoteLongOrBrokenInputBoundedAndValid)
{
    std::string junk = "x";
    while (junk.size() < 100000)
        junk += "\xC3\xA9";
    const std::string broken = junk + "\xC3";  // ends inside a character
    const std::string out = "/tmp/never-written.wav";
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {broken},
             {"render", "--demo-bells", "--" + broken, "-o", out},
             {"render", "--demo-bells", "--style", broken, "-o", out},
             {"rows", "--style", broken},
             {"rows", broken},
             {"prove", broken},
             {"methods", broken},
             {"render", "--demo-bells", "-o", broken + ".aiff"},
             {"render", "--demo-bells", "--odd-bell", broken, "-o", out},
             {"rows", "--method", broken},
             {"rows", "--library", broken, "--method", "Plain Bob Minor"},
             {"rows", "--method", "Plain Bob Minor", "--calling", broken},
             {"rows", "--method", "Plain Bob Minor", "--bob", broken, "--calls", "b"},
             {"render", "--bells", "5", broken, "-o", out},
             {"render", "--demo-bells", "-o", "/no/such/" + broken + ".wav"},
         }) {
        CliChild cli(arguments);
        const int status = cli.Wait();
        const std::string err = cli.Err();
        SCOPED_TRACE(arguments.front() + " " + arguments[1 % arguments.size()] + ": " + err.substr(0, 200));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);
        EXPECT_FALSE(err.empty());
        EXPECT_LT(err.size(), 4096u + 300);
        EXPECT_TRUE(IsValidUtf8(err));
    }
}

}  // namespace
