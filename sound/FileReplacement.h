#pragma once

#include <string>

// Replaces one file so that its path only ever holds the old contents or the
// complete new ones, never a half-written file.
//
// The path is resolved through symbolic links first: a link stays a link and
// its final target is replaced. The new contents go to a hidden temporary
// file (".NAME.tmpPID-N") in the target's folder, which stays open for
// writers to write through its descriptor; Commit puts them on the disk,
// gives them the mode of the file they replace (a new file gets 0666 less
// the umask), closes the file and renames it over the target. A replacement
// that is destroyed uncommitted closes and removes its temporary file; the
// target is never touched before Commit.
//
// Thread: one replacement is used by one thread; several may run at once.
class FileReplacement {
public:
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Creates the empty temporary file and opens it for reading and
    // writing. False when the path cannot be resolved (a loop of links, an
    // empty path) or the folder refuses it.
    bool Create();
    // The open temporary file, once Create has succeeded: writers write
    // through it (checking every write) and leave it open; -1 before.
    int Descriptor() const { return descriptor; }
    const std::string& TemporaryPath() const { return temporaryPath; }
    // The file that Commit replaces: the path with its links followed.
    const std::string& TargetPath() const { return targetPath; }

    // Syncs, sets the mode, closes and renames. False when any step fails;
    // the temporary file is then removed and the target is as it was.
    bool Commit();

private:
    void RemoveTemporary();

    std::string targetPath;
    std::string temporaryPath;
    int descriptor = -1;
    bool resolved = false;
};
