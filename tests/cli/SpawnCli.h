#pragma once

#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/types.h>
#include <vector>

// Runs carillix-cli without a shell, for tests that limit, signal or lower
// the child: stdin from /dev/null, stdout discarded, stderr kept; SIGINT,
// SIGTERM, SIGHUP and SIGPIPE at their default action whatever the test
// process inherited; as RunCli, no method library at the default place.

// A user to run as: its user and group, and no other groups.
struct CliUser {
    uid_t uid = 0;
    gid_t gid = 0;
};

// Who permission tests run the CLI as: nobody and nogroup when the suite runs
// as root (root may write anything), else nullopt, the test's own user.
// `missing` is set when the suite runs as root and there is no such user.
std::optional<CliUser> UnprivilegedUser(bool& missing);

struct CliOptions {
    std::optional<rlim_t> fileSizeLimit;  // RLIMIT_FSIZE, in bytes
    std::optional<CliUser> user;
};

class CliChild {
public:
    explicit CliChild(const std::vector<std::string>& arguments, const CliOptions& options = {});
    ~CliChild();  // waits for the child
    CliChild(const CliChild&) = delete;
    CliChild& operator=(const CliChild&) = delete;

    pid_t Pid() const { return pid; }
    // True once the child has ended; it is not reaped.
    bool Ended() const;
    // Waits for the child; returns its wait status.
    int Wait();
    std::string Err() const;

private:
    pid_t pid = -1;
    int status = -1;
    std::string errPath;
};
