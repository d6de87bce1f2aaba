#pragma once

#include <initializer_list>
#include <string>

// Replaces one file so that its path only ever holds the old contents or the
// complete new ones, never a half-written file.
//
// The path is resolved through symbolic links first: a link stays a link and
// its final target is replaced. Create checks the target before anything is
// written: a folder, a file the user may not write (root may, as with cp),
// a missing or unwritable folder and a name the folder cannot hold are
// refused with the system's reason. A FIFO or a device is written straight
// into (opened without blocking, so a FIFO with no reader is refused with
// ENXIO, then written with blocking writes) and never renamed over. Any
// other target gets its new contents in a hidden temporary file of fixed,
// short name (".carillix-" and eight letters or digits) created beside it,
// which stays open for writers to write through its descriptor, and which a
// signal handler removes (TemporaryFiles.h).
//
// Commit puts the new contents on the disk, gives them the owner and group
// of the file they replace where the process may (the group alone when only
// that is allowed) and its mode (a new file gets 0666 less the umask),
// closes the file and renames it over the target. A replacement destroyed
// uncommitted closes and removes its temporary file; the target is never
// touched before Commit.
//
// Thread: one replacement is used by one thread; several may run at once.
class FileReplacement {
public:
    explicit FileReplacement(const std::string& path);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Checks the target and opens where the new contents go. False, with
    // Error() set and nothing left behind, when the target is refused.
    bool Create();
    // Where writers write, once Create has succeeded (checking every write
    // and leaving it open): the temporary file, or the FIFO or device
    // itself; -1 before.
    int Descriptor() const { return descriptor; }
    // True when the target is a FIFO or a device, written straight into.
    bool InPlace() const { return inPlace; }
    // The temporary file; empty when there is none.
    const std::string& TemporaryPath() const { return temporaryPath; }
    // The file that Commit replaces: the path with its links followed.
    const std::string& TargetPath() const { return targetPath; }
    // The system's error number (errno) of the step that failed; 0 while none has.
    int Error() const { return error; }

    // Commits this replacement alone (CommitReplacements).
    bool Commit();

private:
    friend bool CommitReplacements(std::initializer_list<FileReplacement*> replacements);

    bool Fail(int number);
    bool CheckTarget(bool& exists);
    bool CreateTemporary();
    bool ProbeName();
    bool Settle();
    bool SwapIn(bool keepOld);
    void SwapBack();
    void DropOld();
    void RemoveTemporary();

    std::string targetPath;
    std::string temporaryPath;
    std::string backupPath;  // a second name of the old file, while it is kept
    int descriptor = -1;
    int temporaryRecord = -1;
    int backupRecord = -1;
    int error = 0;
    bool inPlace = false;
    bool holdsOld = false;    // after SwapIn: the temporary path names the old file
    bool createdNew = false;  // after SwapIn: the target did not exist before
};

// Commits every replacement given (each Created, none committed) or none:
// each is first synced, given its owner, group and mode, and closed (a FIFO
// or device is closed once written); then each temporary file takes its
// target's place while the old file stays reachable (exchanged with it, or
// kept under a second name where the file system cannot exchange two names)
// until all have; if one fails, those already in place get their old files
// back (a target that did not exist goes again). The signals of
// TemporaryFiles.h are held meanwhile. False when any step fails: the one
// that failed has Error() set, every temporary file is removed and every
// target is as it was. Targets written in place have nothing to undo.
bool CommitReplacements(std::initializer_list<FileReplacement*> replacements);
