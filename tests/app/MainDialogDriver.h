#pragma once

#include "app/PealDlg.h"
#include "app/toolkit/Toolkit.h"

#include <QTemporaryDir>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

// Drives a real main dialog through the toolkit's test seam. Each test gets
// fresh bells, empty version strings, a script that records message boxes
// and answers file dialogs, and a folder for its files.
class MainDialogDriver {
public:
    MainDialogDriver();
    ~MainDialogDriver();

    // Runs the main dialog modally and calls `steps` once it is shown. Each
    // other dialog shown meanwhile is handed to the next of `answers`. A
    // dialog still open when `steps` returns is ended with IDCANCEL and
    // `stayedOpen` is set. Returns DoModal's result.
    int Run(const std::function<void()>& steps);

    // Writes a mono 16-bit WAV bell of `seconds` at `rate` into the folder
    // and returns its path; a loud strike begins at sample `onset`.
    std::string MakeBellFile(const std::string& name, std::uint32_t rate, std::int32_t onset = 10,
                             double seconds = 0.5);
    // Loads bells 1..count through their "Read File" buttons from fresh
    // files at `rate`.
    void LoadBells(int count, std::uint32_t rate);

    void Click(int id);
    void Click(CDialog& dialog, int id);
    // Types `text` into box `id`, replacing what it held.
    void SetText(int id, const std::string& text);
    // Selects list entry `index` (-1: none).
    void SelectEntry(int id, int index);
    void PressKey(int key);
    bool Enabled(int id) const { return dialog.IsControlEnabled(id); }
    std::string Text(int id) const { return dialog.GetControlText(id); }

    QTemporaryDir folder;
    CToolkitScript script;
    CPealDlg dialog;
    std::deque<std::function<void(CDialog&)>> answers;
    bool stayedOpen = false;
    int dialogsAnswered = 0;
};

// Answers for other dialogs: press a button of it, or let it end by itself.
std::function<void(CDialog&)> PressButton(int id);
std::function<void(CDialog&)> LetItRun();
