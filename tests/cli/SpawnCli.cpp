#include "tests/cli/SpawnCli.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

std::optional<CliUser> UnprivilegedUser(bool& missing)
{
    missing = false;
    if (geteuid() != 0)
        return std::nullopt;
    const passwd* nobody = getpwnam("nobody");
    const group* nogroup = getgrnam("nogroup");
    missing = nobody == nullptr || nogroup == nullptr;
    if (missing)
        return std::nullopt;
    return CliUser{nobody->pw_uid, nogroup->gr_gid};
}

CliChild::CliChild(const std::vector<std::string>& arguments, const CliOptions& options)
{
    char pattern[] = "/tmp/carillix-child-XXXXXX";
    if (mkdtemp(pattern) == nullptr)
        return;
    folder = pattern;
    std::vector<std::string> words{CARILLIX_CLI_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string out = folder + "/out";
    const std::string err = folder + "/err";
    pid = fork();
    if (pid != 0)
        return;
    // The child: only async-signal-safe calls from here to exec.
    const int in = open("/dev/null", O_RDONLY);
    const int outFile = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int errFile = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || outFile < 0 || errFile < 0 || dup2(in, 0) < 0 || dup2(outFile, 1) < 0 || dup2(errFile, 2) < 0)
        _exit(127);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        std::signal(signal, SIG_DFL);
    if (options.fileSizeLimit) {
        const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            _exit(127);
    }
    if (options.user &&
        (setgroups(0, nullptr) != 0 || setresgid(options.user->gid, options.user->gid, options.user->gid) != 0 ||
         setresuid(options.user->uid, options.user->uid, options.user->uid) != 0))
        _exit(127);
    execv(argv[0], argv.data());
    _exit(127);
}

CliChild::~CliChild()
{
    if (pid > 0 && status == -1)
        Wait();
    if (!folder.empty()) {
        std::remove((folder + "/out").c_str());
        std::remove((folder + "/err").c_str());
        rmdir(folder.c_str());
    }
}

bool CliChild::Ended() const
{
    siginfo_t info{};
    return status != -1 || waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
           info.si_pid == pid;
}

int CliChild::Wait()
{
    while (status == -1 && pid > 0) {
        int raw = 0;
        const pid_t waited = waitpid(pid, &raw, 0);
        if (waited == pid)
            status = raw;
        else if (waited < 0 && errno != EINTR)
            break;
    }
    return status;
}

std::string CliChild::Err() const
{
    std::ifstream in(folder + "/err", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}
