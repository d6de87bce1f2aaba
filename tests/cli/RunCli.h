#pragma once

#include <string>
#include <vector>

// Runs carillix-cli with the given argument string (passed through the shell)
// and captures what it printed and how it ended. XDG_DATA_HOME is `dataHome`,
// or an empty folder when that is empty.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
    std::vector<std::string> Lines() const;
};

CliRun RunCli(const std::string& arguments, const std::string& dataHome = "");
