#pragma once

#include <csignal>

// The temporary files this process has made and not yet committed or
// removed, kept where a signal handler can remove them: each path is copied
// into fixed storage, so that removing them allocates nothing and takes no
// lock (it is async-signal-safe).
//
// Thread: TrackTemporaryFile and ForgetTemporaryFile from any thread; the
// handler runs on whichever thread the signal reaches.

// Records `path` as a temporary file to remove on a signal. Returns its
// record, or -1 when none is free or the path is longer than the system's
// longest (the file is then not removed on a signal).
int TrackTemporaryFile(const char* path);
// Drops record `record` (from TrackTemporaryFile; -1 is ignored), not the file.
void ForgetTemporaryFile(int record);

// Handles SIGINT, SIGTERM, SIGHUP and SIGPIPE, except those ignored when the
// program started: the handler removes every temporary file recorded, then
// the process ends by the same signal with its default action, so whoever
// started it sees the signal. Call once, early in main.
void RemoveTemporaryFilesOnSignals();

// Holds back, in the calling thread, the signals that remove temporary files
// while it lives: a step that must not be cut in two (a commit swapping old
// files for new ones) finishes first, and a signal that came meanwhile is
// handled when it ends.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous;
};
