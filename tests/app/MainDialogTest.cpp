#include "app/MethodDlg.h"
#include "app/PealApp.h"
#include "app/PealDlg.h"
#include "app/VersionRecord.h"
#include "tests/app/MainDialogDriver.h"
#include "tests/app/ToolkitTestSupport.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace PealDlgIds;

namespace {

using Messages = std::vector<std::string>;

constexpr const char* kRangeMessage = "Please enter an integer between 0 and 100.";

TEST(MainDialog, StartsFromTheDefaults)
{
    MainDialogDriver d;
    d.Run([&] {
        const auto* bellsList = d.dialog.Control<QComboBox>(kBellCountList);
        EXPECT_EQ(bellsList->currentText(), "10");
        EXPECT_EQ(bellsList->itemText(0), " 5");
        EXPECT_EQ(bellsList->count(), 7);
        EXPECT_EQ(d.dialog.Control<QComboBox>(kPealSpeedList)->currentText(), "3h 00");
        EXPECT_EQ(d.Text(kLength), "10");
        EXPECT_EQ(d.Text(kSampleRate), "0");
        EXPECT_EQ(d.Text(kStrikingError), "5");
        for (int id : {kDescription, kCompany, kLegal, kVersion})
            EXPECT_EQ(d.Text(id), "") << id;
        EXPECT_TRUE(d.dialog.IsRadioChecked(kStyleFirst));
        for (int id = kStyleFirst + 1; id <= kStyleLast; ++id)
            EXPECT_FALSE(d.dialog.IsRadioChecked(id)) << id;
        for (int name : kBellName)
            EXPECT_EQ(d.Text(name), "No file loaded") << name;
        EXPECT_FALSE(d.Enabled(kPlayFile));
        EXPECT_FALSE(d.Enabled(kWriteFile));
        EXPECT_TRUE(d.Enabled(kGenerate));
        EXPECT_EQ(d.dialog.Window()->focusWidget(), d.dialog.GetDlgItem(kReadFile[0]));
        EXPECT_EQ(d.dialog.Window()->windowTitle(), "Carillix");
        EXPECT_FALSE(d.dialog.Window()->windowIcon().isNull());
        SaveScreenshot(d.dialog.Window(), "main-dialog");
    });
    EXPECT_TRUE(d.stayedOpen);
    EXPECT_EQ(d.dialog.style, StyleHome);
    EXPECT_EQ(d.script.messages, Messages{});
}

TEST(MainDialog, ReadFileLoadsTheBellOfItsRow)
{
    MainDialogDriver d;
    d.Run([&] {
        d.script.AnswerFileDialog(d.MakeBellFile("treble.wav", 8000, 120));
        d.Click(kReadFile[0]);
        d.script.AnswerFileDialog(d.MakeBellFile("thirteenth.wav", 8000));
        d.Click(kReadFile[12]);  // fifth row of the right column
        d.script.AnswerFileDialog(CARILLIX_DECODE_CORPUS "/flac_stereo_8000.flac");
        d.Click(kReadFile[2]);
        EXPECT_EQ(d.Text(kBellName[0]), "treble.wav");
        EXPECT_EQ(d.Text(kBellName[12]), "thirteenth.wav");
        EXPECT_EQ(d.Text(kBellName[2]), "flac_stereo_8000.flac");
        EXPECT_EQ(d.Text(kBellName[1]), "No file loaded");
        EXPECT_EQ(d.Text(kSampleRate), "8000");
    });
    EXPECT_EQ(d.script.messages, Messages{});
    EXPECT_EQ(bells[0].state, 1);
    EXPECT_EQ(bells[0].onset, 120);
    EXPECT_EQ(bells[12].state, 1);
    EXPECT_EQ(bells[11].state, 0);
    EXPECT_EQ(bells[2].state, 1);
    EXPECT_EQ(d.dialog.commonSampleRate, 8000u);
    ASSERT_EQ(d.script.fileDialogs.size(), 3u);
    const auto& choice = d.script.fileDialogs[0];
    EXPECT_TRUE(choice.openFileDialog);
    EXPECT_EQ(choice.filter, "Waveform files (.wav, .mp3)|*.wav;*.mp3|FLAC and Ogg files (.flac, .ogg)|*.flac;*.ogg|");
    EXPECT_EQ(choice.defaultExtension, "");
    EXPECT_EQ(choice.flags, 0x80000u);  // a name that does not exist may be typed
    // Run from the build tree: the demo bells made there.
    EXPECT_EQ(choice.initialFolder, QDir(CARILLIX_BUILD_TREE_BELLS).canonicalPath().toStdString());
    EXPECT_FALSE(choice.initialFolder.empty());
}

// The main dialog is the application's window, listed in the task bar, not
// a modal dialog; it opens centred on the screen, frame included, and owns
// the dialogs it runs, which open centred over it.
TEST(MainDialog, IsAnApplicationWindowCentredOnTheScreenThatOwnsItsDialogs)
{
    MainDialogDriver d;
    bool confirmationSeen = false;
    d.answers.push_back([&](CDialog& confirmation) {
        confirmationSeen = true;
        QWidget* window = confirmation.Window();
        EXPECT_EQ(window->windowType(), Qt::Dialog);
        EXPECT_TRUE(window->isModal());
        EXPECT_EQ(window->parentWidget(), d.dialog.Window());
        const QPoint offset = window->frameGeometry().center() - d.dialog.Window()->frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2);
        confirmation.OnCancel();
    });
    d.Run([&] {
        QWidget* window = d.dialog.Window();
        EXPECT_EQ(window->windowType(), Qt::Window);
        EXPECT_FALSE(window->isModal());
        EXPECT_EQ(window->windowModality(), Qt::NonModal);
        EXPECT_EQ(window->parentWidget(), nullptr);
        EXPECT_FALSE(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
        const QPoint offset = window->frameGeometry().center() - window->screen()->availableGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 2);
        d.Click(kExit);
    });
    EXPECT_TRUE(confirmationSeen);
}

TEST(MainDialog, BellChoiceOpensInTheInstalledDemoBellsWhenThereAreAny)
{
    QTemporaryDir prefix;
    const std::string program = prefix.filePath("bin").toStdString();
    const std::string buildTree = QDir(CARILLIX_BUILD_TREE_BELLS).canonicalPath().toStdString();
    EXPECT_EQ(CPealDlg::DemoBellFolderFor(program), buildTree);
    ASSERT_TRUE(QDir(prefix.path()).mkpath("bin") && QDir(prefix.path()).mkpath("share/carillix/bells"));
    EXPECT_EQ(CPealDlg::DemoBellFolderFor(program),
              QDir(prefix.filePath("share/carillix/bells")).canonicalPath().toStdString());
}

TEST(MainDialog, RefusesABellOfAnotherSampleRate)
{
    MainDialogDriver d;
    d.Run([&] {
        d.LoadBells(1, 8000);
        d.script.AnswerFileDialog(d.MakeBellFile("other.wav", 11025));
        d.Click(kReadFile[1]);
        EXPECT_EQ(d.Text(kBellName[1]), "");
        EXPECT_EQ(d.Text(kSampleRate), "8000");
        // Even replacing the only bell loaded so far.
        d.script.AnswerFileDialog(d.folder.filePath("other.wav").toStdString());
        d.Click(kReadFile[0]);
        EXPECT_EQ(d.Text(kBellName[0]), "");
    });
    EXPECT_EQ(d.script.messages,
              (Messages{"all files must have same sample rate", "all files must have same sample rate"}));
    EXPECT_EQ(bells[0].state, 0);
    EXPECT_EQ(bells[1].state, 0);
    EXPECT_EQ(bells[1].fileName, "");
    EXPECT_EQ(d.dialog.commonSampleRate, 8000u);
}

TEST(MainDialog, AFailedLoadShowsOnlyItsMessage)
{
    MainDialogDriver d;
    d.Run([&] {
        d.LoadBells(1, 8000);
        d.Click(kReadFile[0]);  // the file choice is cancelled
        EXPECT_EQ(bells[0].state, 1);
        d.script.AnswerFileDialog(d.folder.filePath("missing.wav").toStdString());
        d.Click(kReadFile[0]);
        // Not refreshed: the box keeps the old name while the bell is unusable.
        EXPECT_EQ(d.Text(kBellName[0]), "bell1.wav");
    });
    EXPECT_EQ(d.script.messages, (Messages{"No file selected!", "Failed to open file!"}));
    EXPECT_EQ(bells[0].state, 0);
}

TEST(MainDialog, ClearAllFilesEmptiesTheBellsAndResetsTheRate)
{
    MainDialogDriver d;
    d.Run([&] {
        d.Click(kClearAll);  // right after start
        for (int name : kBellName)
            EXPECT_EQ(d.Text(name), "") << name;
        EXPECT_EQ(d.Text(kSampleRate), "0");
        EXPECT_FALSE(d.Enabled(kPlayFile));
        EXPECT_FALSE(d.Enabled(kWriteFile));
        d.LoadBells(3, 8000);
        d.Click(kClearAll);
        EXPECT_EQ(d.Text(kBellName[0]), "");
        EXPECT_EQ(d.Text(kSampleRate), "0");
        // A bell of another rate is welcome again.
        d.script.AnswerFileDialog(d.MakeBellFile("other.wav", 11025));
        d.Click(kReadFile[1]);
        EXPECT_EQ(d.Text(kSampleRate), "11025");
    });
    EXPECT_EQ(d.script.messages, Messages{});
    EXPECT_EQ(bells[0].state, 0);
    EXPECT_EQ(bells[0].fileName, "");
    EXPECT_EQ(bells[1].state, 1);
}

TEST(MainDialog, EscEndsAtOnceWithoutConfirmation)
{
    MainDialogDriver d;
    const int result = d.Run([&] {
        d.SetText(kStrikingError, "150");
        d.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(d.stayedOpen);
    EXPECT_EQ(d.dialogsAnswered, 0);
    EXPECT_EQ(d.script.messages, Messages{});
}

TEST(MainDialog, ExitConfirmedReadsBackAndEnds)
{
    MainDialogDriver d;
    d.answers.push_back(PressButton(IDOK));
    const int result = d.Run([&] {
        d.SetText(kLength, "42");
        d.Click(kExit);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_FALSE(d.stayedOpen);
    EXPECT_EQ(d.dialog.lengthSeconds, 42);
}

TEST(MainDialog, ExitWithAStrikingErrorOutOfRangeStaysOpen)
{
    MainDialogDriver d;
    d.answers.push_back(PressButton(IDOK));
    d.Run([&] {
        d.SetText(kStrikingError, "150");
        d.Click(kExit);
        EXPECT_EQ(d.dialog.Window()->focusWidget(), d.dialog.GetDlgItem(kStrikingError));
    });
    EXPECT_TRUE(d.stayedOpen);
    EXPECT_EQ(d.dialogsAnswered, 1);
    EXPECT_EQ(d.script.messages, Messages{kRangeMessage});
}

TEST(MainDialog, CancelAndReturnLeavesEverythingAsItWas)
{
    MainDialogDriver d;
    d.answers.push_back(PressButton(IDCANCEL));
    d.answers.push_back(PressButton(IDCANCEL));
    d.Run([&] {
        d.SetText(kLength, "42");
        d.Click(kExit);
        d.dialog.Window()->close();
        EXPECT_EQ(d.Text(kLength), "42");
    });
    EXPECT_TRUE(d.stayedOpen);
    EXPECT_EQ(d.dialogsAnswered, 2);
    EXPECT_EQ(d.dialog.lengthSeconds, 10);
    EXPECT_EQ(d.script.messages, Messages{});
}

TEST(MainDialog, CloseBoxConfirmedEndsWithoutReadingBack)
{
    MainDialogDriver d;
    d.answers.push_back(PressButton(IDOK));
    const int result = d.Run([&] {
        d.SetText(kStrikingError, "150");
        d.dialog.Window()->close();
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(d.stayedOpen);
    EXPECT_EQ(d.dialog.strikingError, 5);
    EXPECT_EQ(d.script.messages, Messages{});
}

TEST(MainDialog, EnterPressesTheFocusedButtonElseExit)
{
    MainDialogDriver d;
    d.answers.push_back(PressButton(IDCANCEL));
    d.answers.push_back(PressButton(IDOK));
    const int result = d.Run([&] {
        d.PressKey(Qt::Key_Return);  // "Read File" of bell 1 has the focus
        EXPECT_EQ(d.script.fileDialogs.size(), 1u);
        EXPECT_EQ(d.script.messages, Messages{"No file selected!"});
        EXPECT_EQ(d.dialogsAnswered, 0);
        d.dialog.GetDlgItem(kPealSpeedList)->setFocus();
        d.PressKey(Qt::Key_Return);  // "EXIT", then "Cancel and return"
        EXPECT_EQ(d.dialogsAnswered, 1);
        d.dialog.GetDlgItem(kLength)->setFocus();
        d.PressKey(Qt::Key_Return);  // "EXIT", then "OK"
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(d.dialogsAnswered, 2);
}

TEST(MainDialog, StyleButtonsSetTheStyle)
{
    MainDialogDriver d;
    d.Run([&] {
        const MethodStyle expected[] = {StyleTrebleBob, StyleGrandsire, StyleStedman, StylePrinciple, StyleHome};
        const int ids[] = {kStyleFirst + 1, kStyleFirst + 2, kStyleFirst + 3, kStyleLast, kStyleFirst};
        for (int i = 0; i < 5; ++i) {
            d.Click(ids[i]);
            EXPECT_EQ(d.dialog.style, expected[i]) << ids[i];
            EXPECT_TRUE(d.dialog.IsRadioChecked(ids[i]));
        }
    });
}

TEST(MainDialog, ScreenshotWithSixteenBellsLoaded)
{
    MainDialogDriver d;
    theApp.ReadVersionStrings();
    QStringList demoBells;
    const std::string demoFolder = CPealDlg::DemoBellFolder();
    if (!demoFolder.empty())
        demoBells = QDir(QString::fromStdString(demoFolder)).entryList({"*.wav"}, QDir::Files, QDir::Name);
    d.Run([&] {
        for (int bell = 0; bell < kMaxBells; ++bell) {
            if (demoBells.size() >= kMaxBells)
                d.script.AnswerFileDialog(demoFolder + "/" + demoBells[bell].toStdString());
            else
                d.script.AnswerFileDialog(d.MakeBellFile("bell" + std::to_string(bell + 1) + ".wav", 8000));
            d.Click(kReadFile[bell]);
        }
        // Every version text fits its box.
        for (int id : {kDescription, kCompany, kLegal, kVersion}) {
            const auto* box = d.dialog.Control<QLineEdit>(id);
            EXPECT_LE(box->fontMetrics().horizontalAdvance(box->text()), box->width()) << id;
        }
        EXPECT_TRUE(SaveScreenshot(d.dialog.Window(), "main-dialog-bells"));
        // And with a method chosen, as the README shows it.
        d.answers.push_back([](CDialog& shown) {
            auto& method = dynamic_cast<CMethodDlg&>(shown);
            method.SetControlText(MethodDlgIds::kFind, "Cambridge Surprise Major");
            method.SetListSelection(MethodDlgIds::kMethods, 0);
            method.SetControlText(MethodDlgIds::kCalling, "3H");
            method.CheckDlgButton(MethodDlgIds::kWholeTouch, true);
            method.CheckRadioButton(MethodDlgIds::kEven, MethodDlgIds::kLikeABand, MethodDlgIds::kLikeABand);
            method.OnOK();
        });
        d.Click(kMethod);
        EXPECT_EQ(d.Text(kMethodLine), "Cambridge Surprise Major: 3H, whole touch; like a band, 25 ms");
        EXPECT_TRUE(SaveScreenshot(d.dialog.Window(), "main-dialog-method"));
    });
    EXPECT_EQ(d.script.messages, Messages{});
    for (const CSoundBuffer& bell : bells)
        EXPECT_EQ(bell.state, 1);
}

TEST(PealApp, InitInstanceShowsTheVersionRecordInTheMainDialogAndReturnsFalse)
{
    CToolkitScript script;
    std::vector<std::string> shown;
    int dialogsShown = 0;
    script.onDialogShown = [&](CDialog& dialog) {
        ++dialogsShown;
        ASSERT_NE(dynamic_cast<CPealDlg*>(&dialog), nullptr);
        for (int id : {kDescription, kCompany, kLegal, kVersion})
            shown.push_back(dialog.GetControlText(id));
        dialog.OnCancel();
    };
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_EQ(dialogsShown, 1);
    EXPECT_EQ(shown, (std::vector<std::string>{theApp.fileDescription, theApp.companyName, theApp.legalNotice,
                                               theApp.productVersion}));
    if (HasVersionRecord()) {
        EXPECT_EQ(theApp.productVersion, "1.6");
        for (const std::string* text : {&theApp.fileDescription, &theApp.companyName, &theApp.legalNotice})
            EXPECT_NE(text->find("Carillix"), std::string::npos) << *text;
    } else {
        for (const std::string& text : shown)
            EXPECT_EQ(text, "");
    }
    for (std::string* text :
         {&theApp.fileDescription, &theApp.companyName, &theApp.legalNotice, &theApp.productVersion})
        text->clear();
}

}  // namespace
