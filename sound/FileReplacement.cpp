#include "sound/FileReplacement.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kMostLinksFollowed = 40;  // as the system's own path lookup allows
constexpr int kCreateAttempts = 100;

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links from `path` to the file they finally name, which
// need not exist yet. False for a loop or an unreadable link.
bool FollowLinks(std::string path, std::string& target)
{
    for (int hop = 0; hop <= kMostLinksFollowed; ++hop) {
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            target = path;
            return true;
        }
        std::vector<char> link(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 255) + 1);
        const ssize_t length = readlink(path.c_str(), link.data(), link.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= link.size())
            return false;
        const std::string next(link.data(), static_cast<std::size_t>(length));
        path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
    }
    return false;
}

bool SyncPath(const std::string& path, int flags)
{
    const int descriptor = open(path.c_str(), flags | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = fsync(descriptor) == 0;
    return close(descriptor) == 0 && synced;
}

}  // namespace

FileReplacement::FileReplacement(const std::string& path)
{
    resolved = !path.empty() && FollowLinks(path, targetPath);
}

FileReplacement::~FileReplacement()
{
    RemoveTemporary();
}

bool FileReplacement::Create()
{
    if (!resolved || descriptor >= 0)
        return false;
    static std::atomic<unsigned> counter{0};
    const std::string stem = FolderOf(targetPath) + "/." + NameOf(targetPath) + ".tmp" + std::to_string(getpid());
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        temporaryPath = stem + "-" + std::to_string(counter++);
        descriptor = open(temporaryPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0)
            return true;
        if (errno != EEXIST)
            break;
    }
    temporaryPath.clear();
    return false;
}

bool FileReplacement::Commit()
{
    if (descriptor < 0)
        return false;
    // A new file keeps the mode it was created with: 0666 less the umask.
    struct stat old {};
    const bool replacing = stat(targetPath.c_str(), &old) == 0;
    const bool synced = fsync(descriptor) == 0 && (!replacing || fchmod(descriptor, old.st_mode & 07777) == 0);
    const bool closed = close(descriptor) == 0;
    descriptor = -1;
    if (!synced || !closed || std::rename(temporaryPath.c_str(), targetPath.c_str()) != 0) {
        std::remove(temporaryPath.c_str());
        temporaryPath.clear();
        return false;
    }
    temporaryPath.clear();
    SyncPath(FolderOf(targetPath), O_RDONLY | O_DIRECTORY);  // the rename itself; best effort
    return true;
}

void FileReplacement::RemoveTemporary()
{
    if (descriptor < 0)
        return;
    close(descriptor);
    descriptor = -1;
    std::remove(temporaryPath.c_str());
}
