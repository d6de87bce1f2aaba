#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CDialog;
class QWidget;

// The services of the desktop toolkit that are not a dialog of our own:
// message boxes, file choice and the wait cursor. All of them run on the
// user-interface thread.

// The caption of every message box and the application's display name.
inline constexpr const char* kApplicationName = "Carillix";

// Shows `text` in a modal message box owned by `owner` (may be null): the
// text alone, kApplicationName as caption, one OK button, no icon. The box
// is centred over `owner`, or over the nearest of its owners that is shown
// when `owner` is not (yet), else on the screen; it is at least
// MinimumWidthForCaption wide. Returns 1 (OK) once dismissed. Under a
// CToolkitScript the text is recorded and the call returns at once.
int ShowMessageBox(QWidget* owner, const std::string& text);

// The width, in pixels, a window needs for a window manager to show
// `caption` in full: the caption in the bold application font, with room for
// three title-bar buttons (as high as the style's title bar) at either end.
int MinimumWidthForCaption(const QString& caption);

// Flags of a file choice, as the caller gives them.
inline constexpr unsigned OFN_OVERWRITEPROMPT = 0x2;   // save: ask before replacing an existing file
inline constexpr unsigned OFN_PATHMUSTEXIST = 0x800;   // the chosen file's folder must exist
inline constexpr unsigned OFN_FILEMUSTEXIST = 0x1000;  // open: the chosen file must exist
inline constexpr unsigned OFN_EXPLORER = 0x80000;      // the ordinary file dialog

// A file choice, open or save, titled "Open" or "Save As". `flags` (OFN_
// above) say what the dialog accepts: without OFN_FILEMUSTEXIST a name that
// does not exist may be chosen; with OFN_PATHMUSTEXIST a name in a folder
// that does not exist is refused with a message and the dialog stays open;
// without OFN_OVERWRITEPROMPT an existing file is chosen without a question.
// `filter` is in the pipe form "Waveform files (.wav)|*.wav|"
// (description|patterns|...), `defaultExtension` without the dot ("wav";
// appended when the typed name has none). DoModal returns 1 when a file was
// chosen and 2 when the user cancelled; GetPathName then gives the chosen
// path. The dialog is Qt's own on every platform, so the flags mean the same
// everywhere, and it is centred over `owner` (else over the active modal
// dialog, else on the screen).
class CFileDialog {
public:
    CFileDialog(bool openFileDialog, std::string defaultExtension, std::string fileName, unsigned flags,
                std::string filter, QWidget* owner = nullptr);

    // Folder the dialog opens in; empty = the toolkit's choice.
    void SetInitialFolder(std::string folder) { initialFolder = std::move(folder); }
    int DoModal();
    std::string GetPathName() const { return pathName; }

    const bool openFileDialog;
    const std::string defaultExtension;
    const std::string fileName;
    const unsigned flags;
    const std::string filter;
    std::string initialFolder;

private:
    QWidget* owner;
    std::string pathName;
};

// "A|*.a|B|*.b;*.c|" -> "A (*.a);;B (*.b *.c)", the form Qt's file dialog takes.
QString QtFileFilter(const std::string& pipeFilter);

// Shows the wait cursor for as long as it lives. Nests.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// Test seam. While a CToolkitScript exists (one at a time, on the
// user-interface thread), every CFileDialog takes its answer from the
// script instead of asking the user, and every message box is recorded in
// `messages` and returns at once without showing anything. onDialogShown,
// when set, runs inside each CDialog's modal loop just after it is shown,
// so a test can drive nested modal dialogs. Destroying the script restores
// the real toolkit.
class CToolkitScript {
public:
    // What a file dialog was asked to show.
    struct FileDialogRecord {
        bool openFileDialog;
        std::string defaultExtension;
        unsigned flags;
        std::string filter;
        std::string initialFolder;
    };

    CToolkitScript();
    ~CToolkitScript();
    CToolkitScript(const CToolkitScript&) = delete;
    CToolkitScript& operator=(const CToolkitScript&) = delete;

    // The next file dialog chooses `path` (used as given: no default
    // extension is added).
    void AnswerFileDialog(std::string path) { fileAnswers.emplace_back(std::move(path)); }
    // The next file dialog is cancelled. With no answer queued a file dialog
    // is cancelled too.
    void CancelFileDialog() { fileAnswers.emplace_back(std::nullopt); }

    // The script installed now, or null.
    static CToolkitScript* Current();

    std::vector<std::string> messages;          // every message box text, in order
    std::vector<FileDialogRecord> fileDialogs;  // every file dialog asked for, in order
    std::function<void(CDialog&)> onDialogShown;
    std::function<void(const std::string&)> onMessage;  // runs after a text is recorded

    // Used by the toolkit: the next scripted answer (nullopt = cancel).
    std::optional<std::string> TakeFileAnswer();

private:
    std::vector<std::optional<std::string>> fileAnswers;
    std::size_t nextAnswer = 0;
};
