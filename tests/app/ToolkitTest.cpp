#include "app/toolkit/Toolkit.h"
#include "app/toolkit/Dialog.h"
#include "tests/app/ToolkitTestSupport.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

enum : int { kCount = 10, kSmall = 11, kRate = 12, kName = 13, kList = 14, kOther = 20, kRadio1 = 30, kRadio2 = 31 };

DialogLayout ExchangeLayout()
{
    DialogLayout layout;
    layout.id = 9000;
    layout.caption = "Exchange";
    layout.size = QSize(200, 120);
    layout.fontFace = "MS Sans Serif";
    auto add = [&](int id, ControlKind kind, QRect rect, QString text = {}) -> ControlLayout& {
        ControlLayout c;
        c.id = id;
        c.kind = kind;
        c.rect = rect;
        c.text = std::move(text);
        c.tabStop = kind != ControlKind::Label && kind != ControlKind::RadioButton;
        layout.controls.push_back(c);
        return layout.controls.back();
    };
    add(kOther, ControlKind::PushButton, QRect(5, 5, 50, 14), "Other");
    add(kCount, ControlKind::Edit, QRect(5, 25, 50, 12));
    add(kSmall, ControlKind::Edit, QRect(60, 25, 50, 12));
    add(kRate, ControlKind::Edit, QRect(115, 25, 50, 12));
    add(kName, ControlKind::Edit, QRect(5, 45, 50, 12));
    add(kList, ControlKind::DropList, QRect(60, 45, 50, 40)).items = {"one", "two", "three"};
    add(kRadio1, ControlKind::RadioButton, QRect(5, 65, 50, 10), "First").groupStart = true;
    add(kRadio2, ControlKind::RadioButton, QRect(60, 65, 50, 10), "Second");
    add(IDOK, ControlKind::PushButton, QRect(5, 100, 50, 14), "OK").defaultButton = true;
    add(IDCANCEL, ControlKind::PushButton, QRect(60, 100, 50, 14), "Cancel");
    return layout;
}

// A dialog exchanging one member of each kind, counting the calls it gets.
class ExchangeDlg : public CDialog {
public:
    ExchangeDlg() : CDialog(ExchangeLayout()) { MapCommand(kOther, &ExchangeDlg::OnOther); }

    void DoDataExchange(CDataExchange& dx) override
    {
        CDialog::DoDataExchange(dx);
        DDX_Text(dx, kCount, count);
        DDX_Text(dx, kSmall, small);
        DDV_MinMaxInt(dx, small, 0, 100);
        DDX_Text(dx, kRate, rate);
        DDX_Text(dx, kName, name);
        DDX_CBIndex(dx, kList, listIndex);
    }
    bool OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ++inits;
        if (timerPeriod > 0) {
            SetTimer(1, timerPeriod);
        }
        if (endInInit) {
            EndDialog(IDCANCEL);
        }
        return true;
    }
    void OnCancel() override
    {
        ++cancels;
        CDialog::OnCancel();
    }
    void OnClose() override
    {
        ++closes;
        CDialog::OnClose();
    }
    void OnTimer(int id) override
    {
        timerIds.push_back(id);
        if (timerIds.size() == 3) {
            EndDialog(IDOK);
        }
    }
    void OnOther() { ++others; }

    std::int32_t count = 7;
    std::int16_t small = 5;
    std::uint32_t rate = 44100;
    std::string name = "bell";
    std::int32_t listIndex = 1;
    int inits = 0, cancels = 0, closes = 0, others = 0;
    int timerPeriod = 0;
    bool endInInit = false;
    std::vector<int> timerIds;
};

QLineEdit* Edit(CDialog& d, int id)
{
    return d.Control<QLineEdit>(id);
}

TEST(DataExchange, ShowsMembersAndReadsThemBack)
{
    CToolkitScript script;
    ExchangeDlg dlg;
    dlg.OnInitDialog();
    EXPECT_EQ(Edit(dlg, kCount)->text(), "7");
    EXPECT_EQ(Edit(dlg, kSmall)->text(), "5");
    EXPECT_EQ(Edit(dlg, kRate)->text(), "44100");
    EXPECT_EQ(Edit(dlg, kName)->text(), "bell");
    EXPECT_EQ(dlg.Control<QComboBox>(kList)->currentText(), "two");

    Edit(dlg, kCount)->setText(" -12 ");
    Edit(dlg, kSmall)->setText("100");
    Edit(dlg, kRate)->setText("4294967295");
    Edit(dlg, kName)->setText("tenor.wav");
    dlg.Control<QComboBox>(kList)->setCurrentIndex(2);
    EXPECT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.count, -12);
    EXPECT_EQ(dlg.small, 100);
    EXPECT_EQ(dlg.rate, 4294967295u);
    EXPECT_EQ(dlg.name, "tenor.wav");
    EXPECT_EQ(dlg.listIndex, 2);
    EXPECT_TRUE(script.messages.empty());
}

TEST(DataExchange, StopsAtTheFirstFailureWithAMessageAndTheFocusOnTheBox)
{
    struct Case {
        int control;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {kSmall, "150", "Please enter an integer between 0 and 100."},
        {kSmall, "-1", "Please enter an integer between 0 and 100."},
        {kSmall, "40000", "Please enter an integer between -32768 and 32767."},
        {kSmall, "", "Please enter an integer."},
        {kSmall, "5x", "Please enter an integer."},
        {kSmall, "-", "Please enter an integer."},
        {kSmall, "1.5", "Please enter an integer."},
        {kRate, "-5", "Please enter an integer between 0 and 4294967295."},
        {kCount, "ten", "Please enter an integer."},
    };
    for (const Case& c : cases) {
        CToolkitScript script;
        ExchangeDlg dlg;
        dlg.OnInitDialog();
        dlg.Window()->show();
        QApplication::setActiveWindow(dlg.Window());
        Edit(dlg, kCount)->setText("9");
        Edit(dlg, kName)->setText("changed");
        Edit(dlg, c.control)->setText(c.text);
        EXPECT_FALSE(dlg.UpdateData(true)) << c.text;
        ASSERT_EQ(script.messages.size(), 1u) << c.text;
        EXPECT_EQ(script.messages[0], c.message) << c.text;
        EXPECT_TRUE(Edit(dlg, c.control)->hasFocus()) << c.text;
        // Steps before the failure stored their values; the name comes after.
        if (c.control != kCount) {
            EXPECT_EQ(dlg.count, 9) << c.text;
        }
        EXPECT_EQ(dlg.name, "bell") << c.text;
        dlg.Window()->hide();
    }
}

TEST(ModalDialog, OkReadsBackAndEndsOnlyWhenTheExchangeSucceeds)
{
    CToolkitScript script;
    ExchangeDlg dlg;
    script.onDialogShown = [&](CDialog&) {
        Edit(dlg, kSmall)->setText("150");
        dlg.OnOK();
        EXPECT_TRUE(dlg.IsRunning());
        EXPECT_EQ(script.messages.size(), 1u);
        Edit(dlg, kSmall)->setText("50");
        dlg.OnOK();
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.small, 50);
    EXPECT_EQ(dlg.inits, 1);
}

// Timers the window system still holds for the dialog's window.
int TimersLeft(CDialog& dlg)
{
    return static_cast<int>(QAbstractEventDispatcher::instance()->registeredTimers(dlg.Window()).size());
}

TEST(ModalDialog, TimerOneIsDeliveredUntilTheDialogEnds)
{
    ExchangeDlg dlg;
    dlg.timerPeriod = 20;
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.timerIds, std::vector<int>({1, 1, 1}));
    // No tick can arrive after the dialog has ended.
    EXPECT_EQ(TimersLeft(dlg), 0);
}

TEST(ModalDialog, EndingInsideInitialisationReturnsWithoutShowing)
{
    ExchangeDlg dlg;
    dlg.endInInit = true;
    dlg.timerPeriod = 10;
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_FALSE(dlg.Window()->isVisible());
    EXPECT_EQ(TimersLeft(dlg), 0);
    EXPECT_TRUE(dlg.timerIds.empty());
}

TEST(ModalDialog, EscRunsOnCancel)
{
    CToolkitScript script;
    ExchangeDlg dlg;
    script.onDialogShown = [&](CDialog&) { QTest::keyClick(dlg.Window(), Qt::Key_Escape); };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.cancels, 1);
}

TEST(ModalDialog, TheCloseBoxRunsOnCloseWhichCancels)
{
    CToolkitScript script;
    ExchangeDlg dlg;
    script.onDialogShown = [&](CDialog&) { dlg.Window()->close(); };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.closes, 1);
    EXPECT_EQ(dlg.cancels, 1);
}

TEST(ModalDialog, EnterInATextBoxPressesTheDefaultButton)
{
    CToolkitScript script;
    ExchangeDlg dlg;
    script.onDialogShown = [&](CDialog&) {
        Edit(dlg, kName)->setFocus();
        Edit(dlg, kName)->setText("typed");
        QTest::keyClick(Edit(dlg, kName), Qt::Key_Return);
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.name, "typed");
    EXPECT_EQ(dlg.cancels, 0);
}

TEST(ModalDialog, EnterPressesThePushButtonThatHasTheFocus)
{
    CToolkitScript script;
    ExchangeDlg dlg;
    script.onDialogShown = [&](CDialog&) {
        EXPECT_TRUE(dlg.GetDlgItem(kOther)->hasFocus());  // the first tab stop
        QTest::keyClick(dlg.GetDlgItem(kOther), Qt::Key_Return);
        EXPECT_EQ(dlg.others, 1);
        EXPECT_TRUE(dlg.IsRunning());
        dlg.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.others, 1);
}

TEST(ModalDialog, EnablingAndRadioGroups)
{
    ExchangeDlg dlg;
    dlg.EnableControl(kOther, false);
    EXPECT_FALSE(dlg.IsControlEnabled(kOther));
    dlg.EnableControl(kOther, true);
    EXPECT_TRUE(dlg.IsControlEnabled(kOther));
    dlg.CheckRadioButton(kRadio1, kRadio2, kRadio2);
    EXPECT_TRUE(dlg.IsRadioChecked(kRadio2));
    EXPECT_FALSE(dlg.IsRadioChecked(kRadio1));
    dlg.CheckRadioButton(kRadio1, kRadio2, kRadio1);
    EXPECT_TRUE(dlg.IsRadioChecked(kRadio1));
    EXPECT_FALSE(dlg.IsRadioChecked(kRadio2));
    // Clicking one clears the other.
    QTest::mouseClick(dlg.GetDlgItem(kRadio2), Qt::LeftButton);
    EXPECT_TRUE(dlg.IsRadioChecked(kRadio2));
    EXPECT_FALSE(dlg.IsRadioChecked(kRadio1));
}

TEST(ToolkitScript, AnswersFileDialogsInOrderAndRecordsMessages)
{
    CToolkitScript script;
    script.AnswerFileDialog("/tmp/a.wav");
    script.CancelFileDialog();
    CFileDialog first(true, "wav", "", OFN_EXPLORER, "Waveform files (.wav)|*.wav|");
    first.SetInitialFolder("/usr/share/carillix/bells");
    EXPECT_EQ(first.DoModal(), 1);
    EXPECT_EQ(first.GetPathName(), "/tmp/a.wav");
    CFileDialog second(false, "wav", "", OFN_EXPLORER | OFN_PATHMUSTEXIST, "Waveform files (.wav)|*.wav|");
    EXPECT_EQ(second.DoModal(), 2);
    CFileDialog third(true, "wav", "", OFN_EXPLORER, "");
    EXPECT_EQ(third.DoModal(), 2);  // nothing scripted: cancelled
    ASSERT_EQ(script.fileDialogs.size(), 3u);
    EXPECT_TRUE(script.fileDialogs[0].openFileDialog);
    EXPECT_EQ(script.fileDialogs[0].initialFolder, "/usr/share/carillix/bells");
    EXPECT_FALSE(script.fileDialogs[1].openFileDialog);
    EXPECT_EQ(script.fileDialogs[1].defaultExtension, "wav");

    EXPECT_EQ(ShowMessageBox(nullptr, "load more files!"), 1);
    EXPECT_EQ(script.messages, std::vector<std::string>({"load more files!"}));
    EXPECT_EQ(CToolkitScript::Current(), &script);
}

TEST(ToolkitScript, IsGoneWithItsScope)
{
    {
        CToolkitScript script;
    }
    EXPECT_EQ(CToolkitScript::Current(), nullptr);
}

TEST(FileFilter, PipeFormBecomesQtForm)
{
    EXPECT_EQ(QtFileFilters("Waveform files (.wav)|*.wav|"), QStringList{"Waveform files (.wav) (*.wav)"});
    EXPECT_EQ(QtFileFilters("Sound files|*.wav;*.mp3|All files|*.*||"),
              (QStringList{"Sound files (*.wav *.mp3)", "All files (*.*)"}));
    EXPECT_EQ(QtFileFilters(""), QStringList{});
}

}  // namespace

namespace {

// Without a script the real boxes appear; these look at them and close them.

// Runs `dlg` modally and calls `steps` once it is shown; returns DoModal's result.
int RunShown(CDialog& dlg, const std::function<void()>& steps)
{
    WhenReady shown([&] { return dlg.IsRunning() && dlg.Window()->isVisible(); }, steps);
    return dlg.DoModal();
}

QPoint CentreOf(const QWidget* window)
{
    return window->frameGeometry().center();
}

TEST(RealToolkit, MessageBoxShowsTheTextAloneUnderTheApplicationsNameCentredAndWideEnough)
{
    DialogLayout layout = ExchangeLayout();
    layout.size = QSize(300, 200);
    CDialog owner(layout);
    bool seen = false;
    RunShown(owner, [&] {
        WhenShown<QMessageBox> check([&](QMessageBox& box) {
            seen = true;
            EXPECT_EQ(box.windowTitle(), "Carillix");
            EXPECT_EQ(box.text(), "No file selected!");
            EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
            EXPECT_EQ(box.buttons().size(), 1);
            EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
            EXPECT_LE((CentreOf(&box) - CentreOf(owner.Window())).manhattanLength(), 2);
            // The caption shows in full beside the window manager's buttons.
            QFont bold = QApplication::font();
            bold.setBold(true);
            const int caption = QFontMetrics(bold).horizontalAdvance("Carillix");
            const int button = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
            EXPECT_GE(box.width(), caption + 6 * button);
            box.button(QMessageBox::Ok)->click();
        });
        EXPECT_EQ(ShowMessageBox(owner.Window(), "No file selected!"), 1);
        owner.EndDialog(IDOK);
    });
    EXPECT_TRUE(seen);
}

TEST(RealToolkit, FileDialogTakesTheFilterExtensionAndFolder)
{
    for (const bool open : {true, false}) {
        bool seen = false;
        WhenShown<QFileDialog> check([&](QFileDialog& dialog) {
            seen = true;
            EXPECT_EQ(dialog.windowTitle(), open ? "Open" : "Save As");
            EXPECT_EQ(dialog.nameFilters(), QStringList({"Waveform files (.wav) (*.wav)"}));
            EXPECT_EQ(dialog.defaultSuffix(), "wav");
            EXPECT_EQ(dialog.acceptMode(), open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
            EXPECT_EQ(dialog.directory().absolutePath(), QDir::tempPath());
            dialog.reject();
        });
        CFileDialog choice(open, "wav", "", OFN_EXPLORER, "Waveform files (.wav)|*.wav|");
        choice.SetInitialFolder(QDir::tempPath().toStdString());
        EXPECT_EQ(choice.DoModal(), 2);
        EXPECT_TRUE(seen);
        EXPECT_EQ(choice.GetPathName(), "");
    }
}

// Types `name` into the file dialog and presses its accept button; a message
// box it shows meanwhile is recorded in `refusals` and dismissed.
void TypeAndAccept(QFileDialog& dialog, const QString& name, QStringList& refusals)
{
    WhenShown<QMessageBox> refusal([&](QMessageBox& box) {
        refusals << box.text();
        box.accept();
    });
    dialog.selectFile(name);
    static_cast<QDialog&>(dialog).accept();  // the accept button, typed name and all
}

TEST(RealToolkit, FileDialogFlagsSayWhatItAccepts)
{
    QTemporaryDir folder;
    const QString missingFile = folder.filePath("missing.wav");
    const QString missingFolder = folder.filePath("no-such-folder/peal.wav");
    const QString good = folder.filePath("peal.wav");
    struct Case {
        bool open;
        unsigned flags;
        QStringList typed;  // in turn, while the dialog stays open
        QString chosen;
        int refusals;
    };
    const Case cases[] = {
        // The bell choice: a name that does not exist may be typed.
        {true, OFN_EXPLORER, {missingFile}, missingFile, 0},
        // The output choice: a folder that does not exist is refused.
        {false, OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT, {missingFolder, good}, good, 1},
        {false, OFN_EXPLORER, {missingFolder}, missingFolder, 0},
        {true, OFN_EXPLORER | OFN_FILEMUSTEXIST, {missingFile}, "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chosen.toStdString());
        QStringList refusals;
        WhenShown<QFileDialog> drive([&](QFileDialog& dialog) {
            for (const QString& name : c.typed) {
                TypeAndAccept(dialog, name, refusals);
            }
            if (dialog.isVisible()) {
                dialog.reject();
            }
        });
        CFileDialog choice(c.open, "", "", c.flags, "Waveform files (.wav)|*.wav|");
        choice.SetInitialFolder(folder.path().toStdString());
        EXPECT_EQ(choice.DoModal(), c.chosen.isEmpty() ? 2 : 1);
        EXPECT_EQ(choice.GetPathName(), c.chosen.toStdString());
        EXPECT_EQ(refusals.size(), c.refusals);
    }
}

// The real save dialog: a type chosen in its list (as a user picks it, with
// the keyboard) gives a bare name that type's extension, and the choice is
// read back.
TEST(RealToolkit, SaveDialogGivesABareNameTheChosenTypesExtension)
{
    QTemporaryDir folder;
    bool seen = false;
    WhenShown<QFileDialog> drive([&](QFileDialog& dialog) {
        seen = true;
        auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        QTest::keyClick(types, Qt::Key_Down);  // the second entry
        QTest::keyClick(types, Qt::Key_Down);  // the third
        EXPECT_EQ(dialog.defaultSuffix(), "ogg");
        QStringList refusals;
        TypeAndAccept(dialog, "peal", refusals);
        EXPECT_TRUE(refusals.empty());
    });
    CFileDialog choice(false, "wav", "", OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT,
                       "Waveform files (.wav)|*.wav|FLAC files (.flac)|*.flac|Ogg Vorbis files (.ogg)|*.ogg|");
    choice.SetInitialFolder(folder.path().toStdString());
    EXPECT_EQ(choice.DoModal(), 1);
    EXPECT_TRUE(seen);
    EXPECT_EQ(choice.GetPathName(), folder.filePath("peal.ogg").toStdString());
    EXPECT_EQ(choice.GetFilterIndex(), 3);
}

}  // namespace
