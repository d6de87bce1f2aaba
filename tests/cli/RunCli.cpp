#include "tests/cli/RunCli.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

std::vector<std::string> CliRun::Lines() const
{
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

CliRun RunCli(const std::string& arguments, const std::string& dataHome)
{
    char folder[] = "/tmp/carillix-cli-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return {};
    const std::string out = std::string(folder) + "/out";
    const std::string err = std::string(folder) + "/err";
    // XDG_DATA_HOME is the empty run folder unless given: no method library
    // is found at the default place unless a test puts one there.
    const std::string command = "XDG_DATA_HOME='" + (dataHome.empty() ? std::string(folder) : dataHome) + "' " +
                                CARILLIX_CLI_PATH + " " + arguments + " >" + out + " 2>" + err + " </dev/null";
    CliRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = Slurp(out);
    run.err = Slurp(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    rmdir(folder);
    return run;
}
