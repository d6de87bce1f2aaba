#include "sound/FileReplacement.h"

#include "sound/TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kMostLinksFollowed = 40;  // as the system's own path lookup allows
constexpr int kCreateAttempts = 100;
constexpr std::string_view kTemporaryPrefix = ".carillix-";
constexpr std::string_view kNameLetters = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr int kTemporaryLetters = 8;

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Follows symbolic links from `path` to the file they finally name, which
// need not exist yet. Returns 0, or the error number: ELOOP for a loop.
int FollowLinks(std::string path, std::string& target)
{
    for (int hop = 0; hop <= kMostLinksFollowed; ++hop) {
        struct stat status {};
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) {
            target = path;
            return 0;
        }
        std::vector<char> link(static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 255) + 1);
        const ssize_t length = readlink(path.c_str(), link.data(), link.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= link.size())
            return length < 0 ? errno : EIO;
        const std::string next(link.data(), static_cast<std::size_t>(length));
        path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
    }
    return ELOOP;
}

// A hidden name of fixed length, different for each call and each process.
std::string TemporaryName()
{
    static std::atomic<std::uint64_t> counter{0};
    std::uint64_t x = (static_cast<std::uint64_t>(getpid()) << 32) ^ counter.fetch_add(1) ^
                      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    x += 0x9E3779B97F4A7C15u;  // splitmix64, so that neighbouring inputs give unrelated names
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
    x ^= x >> 31;
    std::string name(kTemporaryPrefix);
    for (int k = 0; k < kTemporaryLetters; ++k, x /= kNameLetters.size())
        name += kNameLetters[x % kNameLetters.size()];
    return name;
}

// Gives the file open at `descriptor` the owner, group and mode of the
// regular file at `target`, as far as the process may. Returns 0 or the
// error number. Without the owner, no set-user-ID bit; without the group, no
// set-group-ID bit.
int TakeOwnerAndMode(int descriptor, const std::string& target)
{
    struct stat old {};
    if (stat(target.c_str(), &old) != 0 || !S_ISREG(old.st_mode))
        return 0;  // a new file keeps the mode it was created with: 0666 less the umask
    mode_t mode = old.st_mode & 07777;
    if (fchown(descriptor, old.st_uid, old.st_gid) != 0) {
        if (errno != EPERM)
            return errno;
        mode &= ~static_cast<mode_t>(S_ISUID);
        if (fchown(descriptor, static_cast<uid_t>(-1), old.st_gid) != 0) {
            if (errno != EPERM)
                return errno;
            mode &= ~static_cast<mode_t>(S_ISGID);
        }
    }
    return fchmod(descriptor, mode) == 0 ? 0 : errno;
}

void SyncFolder(const std::string& path)
{
    const int descriptor = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    fsync(descriptor);  // the renames themselves; best effort
    close(descriptor);
}

}  // namespace

FileReplacement::FileReplacement(const std::string& path)
{
    error = path.empty() ? ENOENT : FollowLinks(path, targetPath);
}

FileReplacement::~FileReplacement()
{
    RemoveTemporary();
}

bool FileReplacement::Fail(int number)
{
    if (error == 0)
        error = number != 0 ? number : EIO;
    return false;
}

bool FileReplacement::Create()
{
    if (error != 0 || descriptor >= 0)
        return false;
    bool exists = false;
    if (!CheckTarget(exists))
        return false;
    if (inPlace)
        return true;
    if (!CreateTemporary())
        return false;
    if (!exists && !ProbeName()) {
        RemoveTemporary();
        return false;
    }
    return true;
}

bool FileReplacement::CheckTarget(bool& exists)
{
    struct stat status {};
    exists = lstat(targetPath.c_str(), &status) == 0;
    if (!exists)
        return errno == ENOENT || Fail(errno);  // a missing folder: creating the temporary file says so
    if (S_ISDIR(status.st_mode))
        return Fail(EISDIR);
    if (S_ISREG(status.st_mode))
        return faccessat(AT_FDCWD, targetPath.c_str(), W_OK, AT_EACCESS) == 0 || Fail(errno);
    const int opened = open(targetPath.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (opened < 0)
        return Fail(errno);
    const int flags = fcntl(opened, F_GETFL);
    if (flags < 0 || fcntl(opened, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int why = errno;
        close(opened);
        return Fail(why);
    }
    descriptor = opened;
    inPlace = true;
    return true;
}

bool FileReplacement::CreateTemporary()
{
    const std::string folder = FolderOf(targetPath) + "/";
    SignalsHeld held;  // no signal between creating the file and recording it
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const std::string path = folder + TemporaryName();
        descriptor = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            temporaryPath = path;
            temporaryRecord = TrackTemporaryFile(temporaryPath.c_str());
            return true;
        }
        if (errno != EEXIST)
            return Fail(errno);
    }
    return Fail(EEXIST);
}

// A name the folder cannot hold (too long, or with characters its file
// system refuses) is found now, not at the rename after the whole write.
bool FileReplacement::ProbeName()
{
    SignalsHeld held;
    const int probe = open(targetPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (probe < 0)
        return errno == EEXIST || Fail(errno);
    close(probe);
    unlink(targetPath.c_str());
    return true;
}

bool FileReplacement::Settle()
{
    if (descriptor < 0)
        return Fail(EBADF);
    int failure = 0;
    // A FIFO or a terminal cannot be synced, and needs not be.
    if (fsync(descriptor) != 0 && !(inPlace && (errno == EINVAL || errno == EROFS)))
        failure = errno;
    if (!inPlace && failure == 0)
        failure = TakeOwnerAndMode(descriptor, targetPath);
    if (close(descriptor) != 0 && failure == 0 && errno != EINTR)
        failure = errno;
    descriptor = -1;
    return failure == 0 || Fail(failure);
}

bool FileReplacement::SwapIn(bool keepOld)
{
    if (inPlace)
        return true;
    struct stat status {};
    const bool exists = lstat(targetPath.c_str(), &status) == 0;
    if (!exists && errno != ENOENT)
        return Fail(errno);
    if (exists && !S_ISREG(status.st_mode))
        return Fail(S_ISDIR(status.st_mode) ? EISDIR : EEXIST);
    if (exists && keepOld) {
        if (renameat2(AT_FDCWD, temporaryPath.c_str(), AT_FDCWD, targetPath.c_str(), RENAME_EXCHANGE) == 0) {
            holdsOld = true;
            return true;
        }
        if (errno != EINVAL && errno != ENOSYS)
            return Fail(errno);
        // This file system cannot exchange two names: the old file keeps a
        // second name until every replacement is in place.
        const std::string backup = FolderOf(targetPath) + "/" + TemporaryName();
        if (link(targetPath.c_str(), backup.c_str()) != 0)
            return Fail(errno);
        backupPath = backup;
        backupRecord = TrackTemporaryFile(backupPath.c_str());
    }
    if (std::rename(temporaryPath.c_str(), targetPath.c_str()) != 0) {
        const int why = errno;
        DropOld();
        return Fail(why);
    }
    ForgetTemporaryFile(temporaryRecord);
    temporaryRecord = -1;
    temporaryPath.clear();
    createdNew = !exists;
    return true;
}

void FileReplacement::SwapBack()
{
    if (holdsOld)
        renameat2(AT_FDCWD, temporaryPath.c_str(), AT_FDCWD, targetPath.c_str(), RENAME_EXCHANGE);
    else if (!backupPath.empty())
        std::rename(backupPath.c_str(), targetPath.c_str());
    else if (createdNew)
        unlink(targetPath.c_str());
    holdsOld = false;
    createdNew = false;
    backupPath.clear();
    ForgetTemporaryFile(backupRecord);
    backupRecord = -1;
}

void FileReplacement::DropOld()
{
    if (!backupPath.empty())
        unlink(backupPath.c_str());
    backupPath.clear();
    ForgetTemporaryFile(backupRecord);
    backupRecord = -1;
    if (holdsOld)
        RemoveTemporary();
    holdsOld = false;
}

void FileReplacement::RemoveTemporary()
{
    if (descriptor >= 0)
        close(descriptor);
    descriptor = -1;
    if (!temporaryPath.empty())
        unlink(temporaryPath.c_str());
    temporaryPath.clear();
    ForgetTemporaryFile(temporaryRecord);
    temporaryRecord = -1;
}

bool FileReplacement::Commit()
{
    return CommitReplacements({this});
}

bool CommitReplacements(std::initializer_list<FileReplacement*> replacements)
{
    SignalsHeld held;
    const auto abandon = [&] {
        for (FileReplacement* replacement : replacements)
            replacement->RemoveTemporary();
        return false;
    };
    for (FileReplacement* replacement : replacements)
        if (!replacement->Settle())
            return abandon();
    // The last file renamed needs no way back: nothing comes after it that could fail.
    const FileReplacement* last = nullptr;
    for (const FileReplacement* replacement : replacements)
        if (!replacement->inPlace)
            last = replacement;
    std::vector<FileReplacement*> swapped;
    for (FileReplacement* replacement : replacements) {
        if (!replacement->SwapIn(replacement != last)) {
            for (auto undo = swapped.rbegin(); undo != swapped.rend(); ++undo)
                (*undo)->SwapBack();
            return abandon();
        }
        swapped.push_back(replacement);
    }
    for (FileReplacement* replacement : replacements) {
        replacement->DropOld();
        if (!replacement->inPlace)
            SyncFolder(replacement->targetPath);
    }
    return true;
}
