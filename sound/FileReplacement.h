#pragma once

#include <string>

// Replaces one file so that its path only ever holds the old contents or the
// complete new ones, never a half-written file.
//
// The path is resolved through symbolic links first: a link stays a link and
// its final target is replaced. The new contents go to a hidden temporary
// file (".NAME.tmpPID-N") in the target's folder; Commit puts them on the
// disk, gives them the mode of the file they replace (a new file gets
// 0666 less the umask), and renames them over the target. A replacement that
// is destroyed uncommitted removes its temporary file; the target is never
// touched before Commit.
//
// Thread: one replacement is used by one thread; several may run at once.
class FileReplacement {
public:
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Creates the empty temporary file. False when the path cannot be
    // resolved (a loop of links, an empty path) or the folder refuses it.
    bool Create();
    // The temporary file to write once Create has succeeded. The writer must
    // have closed it, with every write checked, before Commit.
    const std::string& TemporaryPath() const { return temporaryPath; }
    // The file that Commit replaces: the path with its links followed.
    const std::string& TargetPath() const { return targetPath; }

    // Syncs, sets the mode and renames. False when any step fails; the
    // temporary file is then removed and the target is as it was.
    bool Commit();

private:
    void RemoveTemporary();

    std::string targetPath;
    std::string temporaryPath;
    bool resolved = false;
    bool created = false;
};
