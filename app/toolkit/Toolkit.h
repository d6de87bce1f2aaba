#pragma once

#include <QString>
#include <QStringList>

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
// (description|patterns|...); the first entry is chosen at the start.
// `defaultExtension` is without the dot ("wav"): when it is given, a typed
// name without an extension takes the chosen entry's, that of its first
// pattern ("*.flac" gives "flac"; `defaultExtension` when that pattern names
// none), and the overwrite question is asked for that final name. DoModal
// returns 1 when a file was chosen and 2 when the user cancelled;
// GetPathName then gives the chosen path and GetFilterIndex the filter entry
// chosen last (1 for the first). The dialog is Qt's own on every platform,
// so the flags mean the same everywhere, and it is centred over `owner`
// (else over the active modal dialog, else on the screen).
class CFileDialog {
public:
    CFileDialog(bool openFileDialog, std::string defaultExtension, std::string fileName, unsigned flags,
                std::string filter, QWidget* owner = nullptr);

    // Folder the dialog opens in; empty = the toolkit's choice.
    void SetInitialFolder(std::string folder) { initialFolder = std::move(folder); }
    int DoModal();
    std::string GetPathName() const { return pathName; }
    int GetFilterIndex() const { return filterIndex; }

    // The extension a name without one takes while filter entry `index`
    // (from 1) is chosen; empty when there is no default extension.
    std::string DefaultExtensionFor(int index) const;

    const bool openFileDialog;
    const std::string defaultExtension;
    const std::string fileName;
    const unsigned flags;
    const std::string filter;
    std::string initialFolder;

private:
    QWidget* owner;
    std::string pathName;
    int filterIndex = 1;
};

// "A|*.a|B|*.b;*.c|" -> {"A (*.a)", "B (*.b *.c)"}, the entries in the form
// Qt's file dialog takes.
QStringList QtFileFilters(const std::string& pipeFilter);

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

    // What the user does in one file dialog: types `path`, with filter entry
    // `filterIndex` (from 1) chosen; nullopt path: cancels.
    struct FileAnswer {
        std::optional<std::string> path;
        int filterIndex = 1;
    };

    // The next file dialog chooses `path` with filter entry `filterIndex`
    // chosen, as a user who typed it would: a save dialog adds the entry's
    // default extension to a name without one, and asks the overwrite
    // question (recorded in overwriteQuestions, answered by
    // answerOverwrite; No cancels the choice) for an existing final name.
    void AnswerFileDialog(std::string path, int filterIndex = 1)
    {
        fileAnswers.push_back({std::move(path), filterIndex});
    }
    // The next file dialog is cancelled. With no answer queued a file dialog
    // is cancelled too.
    void CancelFileDialog() { fileAnswers.push_back({}); }

    // The script installed now, or null.
    static CToolkitScript* Current();

    std::vector<std::string> messages;            // every message box text, in order
    std::vector<FileDialogRecord> fileDialogs;    // every file dialog asked for, in order
    std::vector<std::string> overwriteQuestions;  // the final names a file dialog asked about
    bool answerOverwrite = true;
    std::function<void(CDialog&)> onDialogShown;
    std::function<void(const std::string&)> onMessage;  // runs after a text is recorded

    // Used by the toolkit: the next scripted answer.
    FileAnswer TakeFileAnswer();

private:
    std::vector<FileAnswer> fileAnswers;
    std::size_t nextAnswer = 0;
};
