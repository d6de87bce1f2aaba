#pragma once

#include "app/toolkit/DialogLayout.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CDataExchange;
class QButtonGroup;
class QEventLoop;
class QProgressBar;

// End results of a modal dialog.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

class CDialogWindow;

// A modal dialog built from a layout (resources/layouts/<id>.json).
//
// Lifecycle: the constructor builds the window and every control of the
// layout (hidden; drop-down lists still empty). DoModal runs
//   OnInitDialog -> shown centred -> modal loop -> returns the end result.
// The base OnInitDialog fills each drop-down list from the layout's initial
// entries (sorted where the layout says so) and runs UpdateData(false) once;
// a derived OnInitDialog calls it first. When OnInitDialog returns true the
// focus goes to the first enabled control with a tab stop.
//
// Commands: a click on a push button, radio button or check box runs the
// handler mapped to its id with MapCommand; unmapped, id 1 runs OnOK and id 2
// OnCancel. A change of a text box's text, a list box's or drop-down list's
// choice runs the handler mapped with MapChange.
// Keys: Esc runs OnCancel; Enter presses the push button that has the focus,
// else the default button. The window's close box runs OnClose (by default
// OnCancel). None of these end the dialog by themselves: only EndDialog does.
//
// Thread: user-interface thread only. The object must stay in place while
// DoModal runs.
class CDialog {
public:
    // `parent` null: the dialog is owned by the modal dialog active when
    // DoModal starts, else by the application window running then (if any),
    // and centred over it, else centred on the screen. A layout marked as the
    // application window makes an ordinary top-level window, listed in the
    // task bar, that owns the dialogs run while it runs; it is centred on
    // the screen and runs without being modal. An unknown layout id builds
    // an empty dialog.
    explicit CDialog(int layoutId, CDialog* parent = nullptr);
    // From a layout given as data (tests, generated dialogs).
    explicit CDialog(DialogLayout layout, CDialog* parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally; returns the value given to EndDialog (IDOK or
    // IDCANCEL) after OnModalEnded has run. EndDialog called inside
    // OnInitDialog ends it unshown.
    int DoModal();
    // Ends the modal run with `result` as soon as control returns to the loop.
    // Kills every timer.
    void EndDialog(int result);

    // See the class comment. OnOK runs UpdateData(true) and ends with IDOK
    // only if that succeeds; OnCancel ends with IDCANCEL at once.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void OnClose();
    // Timer `id` has expired; runs on the user-interface thread.
    virtual void OnTimer(int id);
    // Exchanges members with controls through the DDX_ functions below.
    virtual void DoDataExchange(CDataExchange& dx);
    // Runs once the modal run has ended, hidden, just before DoModal
    // returns: a dialog waits here for work it started. Does nothing here.
    virtual void OnModalEnded();

    // saveAndValidate false: every member into its control. True: controls
    // into members in exchange order, stopping at the first failure, which
    // shows a message box, puts the focus on the offending control and
    // returns false.
    bool UpdateData(bool saveAndValidate = true);

    // Starts (or restarts) timer `id`, firing every `milliseconds` while the
    // modal loop runs; KillTimer stops it. Both are no-ops for unknown ids.
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);

    // Routes clicks of control `id` (push or radio button) to `handler`.
    void MapCommand(int id, std::function<void()> handler);
    template <typename Derived>
    void MapCommand(int id, void (Derived::*handler)())
    {
        MapCommand(id, [this, handler] { (static_cast<Derived*>(this)->*handler)(); });
    }

    // Runs `handler` whenever the content of control `id` changes, by the
    // user or by the program: the text of a text box, the chosen entry of a
    // list box or drop-down list (not when SetListItems replaces them all).
    void MapChange(int id, std::function<void()> handler);
    template <typename Derived>
    void MapChange(int id, void (Derived::*handler)())
    {
        MapChange(id, [this, handler] { (static_cast<Derived*>(this)->*handler)(); });
    }

    // Control `id` (null if the layout has none). Control<T> casts.
    QWidget* GetDlgItem(int id) const;
    template <typename T>
    T* Control(int id) const
    {
        return qobject_cast<T*>(GetDlgItem(id));
    }
    void EnableControl(int id, bool enable);
    bool IsControlEnabled(int id) const;
    // Checks radio button `checkedId` and clears the others of first..last;
    // a `checkedId` outside first..last leaves none of them checked (the
    // group stays exclusive for the user's next click).
    void CheckRadioButton(int firstId, int lastId, int checkedId);
    bool IsRadioChecked(int id) const;
    // Check boxes.
    void CheckDlgButton(int id, bool checked);
    bool IsDlgButtonChecked(int id) const;
    // List boxes: the entries in order, and the one chosen (-1: none).
    // SetListItems clears the choice; SetListSelection scrolls to it.
    void SetListItems(int id, std::vector<std::string> items);
    int GetListCount(int id) const;
    std::string GetListItem(int id, int index) const;
    int GetListSelection(int id) const;
    void SetListSelection(int id, int index);
    // Shows `text` in text box `id` cut with an ellipsis to fit its width,
    // with the whole text as its tooltip and accessible name (the layout's
    // accessible name while the text is empty).
    void SetElidedText(int id, const std::string& text);
    // Text of an edit box, label or button; empty for other ids.
    std::string GetControlText(int id) const;
    void SetControlText(int id, const std::string& text);

    // A message box owned by this dialog (see ShowMessageBox).
    int MessageBox(const std::string& text);

    // The window: for icons, screenshots and tests.
    QDialog* Window() const;
    const DialogLayout& Layout() const { return layout; }
    DialogBaseUnits BaseUnits() const { return baseUnits; }
    bool IsRunning() const { return running; }

private:
    friend class CDialogWindow;
    void BuildControls();
    void FillLists();
    void RunCommand(int id);
    void RunChange(int id);
    void ConnectChange(const ControlLayout& c, QWidget* w);
    void DeliverTimer(int qtTimerId);
    void FocusFirstTabStop();
    void KillAllTimers();

    DialogLayout layout;
    DialogBaseUnits baseUnits;
    CDialog* parent;
    std::unique_ptr<CDialogWindow> window;
    std::map<int, QWidget*> controls;
    std::map<int, std::function<void()>> commands;
    std::map<int, std::function<void()>> changes;
    std::map<int, int> timers;  // our id -> Qt timer id
    bool running = false;
    bool ended = false;
    int endResult = IDCANCEL;
    QEventLoop* applicationLoop = nullptr;  // while an application window runs
};

// The state of one UpdateData run. DDX_ functions do nothing once a step has
// failed, so an exchange stops at its first failure.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate) : dialog(dialog), saveAndValidate(saveAndValidate) {}

    // Marks the exchange failed: shows `message`, focuses the last control
    // exchanged (selecting its text).
    void Fail(const std::string& message);

    CDialog& dialog;
    const bool saveAndValidate;  // true: controls -> members
    bool failed = false;
    int lastControl = -1;  // id of the control exchanged last
};

// Decimal text boxes. Reading accepts optional blanks around an optionally
// signed decimal number that fits the type; anything else fails with
// "Please enter an integer." (or the type's bounds when it does not fit).
void DDX_Text(CDataExchange& dx, int id, std::int32_t& value);
void DDX_Text(CDataExchange& dx, int id, std::int16_t& value);
void DDX_Text(CDataExchange& dx, int id, std::uint32_t& value);
// Plain text (UTF-8).
void DDX_Text(CDataExchange& dx, int id, std::string& value);
// Index of the selected entry of a drop-down list; -1 for none.
void DDX_CBIndex(CDataExchange& dx, int id, std::int32_t& index);
// Whether a check box is checked.
void DDX_Check(CDataExchange& dx, int id, bool& checked);
// When reading, fails unless min <= value <= max with
// "Please enter an integer between <min> and <max>." and focuses the control
// exchanged last.
void DDV_MinMaxInt(CDataExchange& dx, int value, int min, int max);

// A progress bar bound to a control of a dialog.
class CProgressCtrl {
public:
    void Attach(QProgressBar* bar) { this->bar = bar; }
    void SetRange(int lower, int upper);
    void SetPos(int position);
    int GetPos() const;

private:
    QProgressBar* bar = nullptr;
};
// Binds `control` to progress bar `id` (in either direction).
void DDX_Control(CDataExchange& dx, int id, CProgressCtrl& control);
