#include "tests/cli/SpawnCli.h"

#include "tests/sound/TempFolder.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>

std::optional<CliUser> UnprivilegedUser(bool& missing)
{
    const passwd* nobody = getpwnam("nobody");
    const group* nogroup = getgrnam("nogroup");
    missing = geteuid() == 0 && (nobody == nullptr || nogroup == nullptr);
    if (geteuid() != 0 || missing)
        return std::nullopt;
    return CliUser{nobody->pw_uid, nogroup->gr_gid};
}

CliChild::CliChild(const std::vector<std::string>& arguments, const CliOptions& options)
{
    char pattern[] = "/tmp/carillix-err-XXXXXX";
    const int err = mkstemp(pattern);
    errPath = pattern;
    std::vector<std::string> words{CARILLIX_CLI_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    // XDG_DATA_HOME names a folder that does not exist: no method library is
    // read from the default place, whatever the test's user keeps there.
    std::vector<std::string> environment{"XDG_DATA_HOME=" + errPath + ".none"};
    for (char** variable = environ; *variable != nullptr; ++variable)
        if (std::string_view(*variable).rfind("XDG_DATA_HOME=", 0) != 0)
            environment.emplace_back(*variable);
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    pid = fork();
    if (pid != 0) {
        close(err);
        return;
    }
    // The child: only async-signal-safe calls from here to exec.
    const int in = open("/dev/null", O_RDWR);
    if (err < 0 || in < 0 || dup2(in, 0) < 0 || dup2(in, 1) < 0 || dup2(err, 2) < 0)
        _exit(127);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        std::signal(signal, SIG_DFL);
    if (const auto bytes = options.fileSizeLimit) {
        const rlimit limit{*bytes, *bytes};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(127);
    }
    if (const auto user = options.user) {
        if (setgroups(0, nullptr) != 0 || setresgid(user->gid, user->gid, user->gid) != 0 ||
            setresuid(user->uid, user->uid, user->uid) != 0)
            _exit(127);
    }
    execve(argv[0], argv.data(), envp.data());
    _exit(127);
}

CliChild::~CliChild()
{
    Wait();
    std::remove(errPath.c_str());
}

bool CliChild::Ended() const
{
    siginfo_t info{};
    return status != -1 || waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
           info.si_pid == pid;
}

int CliChild::Wait()
{
    for (int raw = 0; status == -1 && pid > 0;) {
        const pid_t waited = waitpid(pid, &raw, 0);
        if (waited == pid)
            status = raw;
        else if (errno != EINTR)
            break;
    }
    return status;
}

std::string CliChild::Err() const
{
    const auto bytes = ReadBytes(errPath);
    return {bytes.begin(), bytes.end()};
}
