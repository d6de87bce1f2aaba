#pragma once

#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>
#include <vector>

// Starting carillix-cli without a shell, for tests that limit, signal or
// lower the child. The child's stdin is /dev/null, its stdout and stderr go
// to files, and SIGINT, SIGTERM, SIGHUP and SIGPIPE are at their default
// action whatever the test process inherited.

// A user to run as: its user and group, with no other groups.
struct CliUser {
    uid_t uid = 0;
    gid_t gid = 0;
};

// The user that permission tests run the CLI as: nobody and nogroup when the
// suite runs as root (root may write anything), nullopt (the test's own user,
// who is not root) otherwise. Sets `missing` when the suite runs as root and
// there is no such user, so the test must be skipped.
std::optional<CliUser> UnprivilegedUser(bool& missing);

struct CliOptions {
    std::optional<rlim_t> fileSizeLimit;  // RLIMIT_FSIZE, in bytes
    std::optional<CliUser> user;
};

class CliChild {
public:
    CliChild(const std::vector<std::string>& arguments, const CliOptions& options = {});
    ~CliChild();  // waits for the child if Wait was not called
    CliChild(const CliChild&) = delete;
    CliChild& operator=(const CliChild&) = delete;

    pid_t Pid() const { return pid; }
    // True once the child has ended (without reaping it).
    bool Ended() const;
    // Waits for the child; returns its wait status.
    int Wait();
    std::string Err() const;

private:
    pid_t pid = -1;
    int status = -1;
    std::string folder;
};
