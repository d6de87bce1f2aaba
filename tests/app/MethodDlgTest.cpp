#include "app/MethodDlg.h"
#include "app/toolkit/Toolkit.h"
#include "tests/app/ToolkitTestSupport.h"
#include "tests/cli/MethodListing.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

using namespace MethodDlgIds;

// GCC 12 at -O3 warns of an overlap in assigning short literals to strings
// (its bug 105329), which cannot happen. The tables' forms name only the
// boxes they fill; the rest keep their defaults.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wrestrict"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif

namespace {

// Runs the dialog; `steps` act once it is shown and should end it (a
// dialog left open fails the test and is cancelled).
int RunDialog(CMethodDlg& dialog, CToolkitScript& script, const std::function<void()>& steps)
{
    script.onDialogShown = [&](CDialog& shown) {
        if (&shown != &dialog)
            return;
        steps();
        if (dialog.Window()->isVisible()) {
            ADD_FAILURE() << "the dialog stayed open";
            dialog.EndDialog(IDCANCEL);
        }
    };
    return dialog.DoModal();
}

// What the command line said first, without its "carillix-cli COMMAND: ".
std::string FirstLine(const CliRun& run)
{
    const std::string& said = run.err.empty() ? run.out : run.err;
    std::string line = said.substr(0, said.find('\n'));
    if (line.rfind("carillix-cli ", 0) == 0 && line.find(": ") != std::string::npos)
        line = line.substr(line.find(": ") + 2);
    return line;
}

std::vector<std::string> ListedTitles(const CMethodDlg& dialog)
{
    std::vector<std::string> titles;
    for (int k = 0; k < dialog.GetListCount(kMethods); ++k)
        titles.push_back(dialog.GetListItem(kMethods, k));
    return titles;
}

// Waits, in the event loop, for the proof line to hold `text`: whole in its
// tooltip, shown whole or cut with an ellipsis to fit.
void ExpectProof(CMethodDlg& dialog, const std::string& text)
{
    const QLineEdit* line = dialog.Control<QLineEdit>(kProof);
    QElapsedTimer waited;
    waited.start();
    while (line->toolTip().toStdString() != text && waited.elapsed() < kPatienceMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    EXPECT_EQ(line->toolTip().toStdString(), text);
    std::string shown = dialog.GetControlText(kProof);
    if (shown != text && shown.ends_with("\u2026"))
        shown.resize(shown.size() - std::string("\u2026").size());
    EXPECT_EQ(text.substr(0, shown.size()), shown);
}

// The list holds exactly the titles that contain the text in any case (the
// built-in list read through the command line, apart from the catalogue's
// search); choosing one fills in its notation and calls, and the proof line
// gives its plain course as ringers publish it.
TEST(MethodDlg, FiltersAsTheUserTypesAndFillsInTheChoice)
{
    CToolkitScript script;
    MethodCatalogue catalogue;
    CMethodDlg dialog(MethodForm{}, catalogue);
    const std::vector<std::string> all = ListedTitles(RunCli("methods"));
    ASSERT_EQ(all.size(), catalogue.Methods().size());
    RunDialog(dialog, script, [&] {
        EXPECT_EQ(ListedTitles(dialog), all);
        for (const char* text : {"SURPRISE maj", "bob m", "zzz", ""}) {
            dialog.SetControlText(kFind, text);
            std::vector<std::string> expected;
            for (const std::string& title : all)
                if (ContainsIgnoringCase(title, text))
                    expected.push_back(title);
            EXPECT_EQ(ListedTitles(dialog), expected) << text;
        }
        dialog.SetControlText(kFind, "bristol");
        const auto titles = ListedTitles(dialog);
        const auto major = std::find(titles.begin(), titles.end(), "Bristol Surprise Major");
        ASSERT_NE(major, titles.end());
        dialog.SetListSelection(kMethods, static_cast<int>(major - titles.begin()));
        EXPECT_EQ(dialog.GetControlText(kPlaceNotation), "-58-14.58-58.36.14-14.58-14-18,18");
        EXPECT_EQ(dialog.GetControlText(kStage), "8");
        EXPECT_EQ(dialog.GetControlText(kBob), "16");  // the far calls of a 1n lead end
        EXPECT_EQ(dialog.GetControlText(kSingle), "1678");
        ExpectProof(dialog, "224 changes, true");
        dialog.Window()->setFocus();
        SaveScreenshot(dialog.Window(), "method-dialog");
        dialog.SetControlText(kFind, "london");  // the choice stays chosen while it is listed
        dialog.SetControlText(kFind, "bristol s");
        EXPECT_EQ(dialog.GetListItem(kMethods, dialog.GetListSelection(kMethods)), "Bristol Surprise Major");
        // A calling shows what `prove` shows first, its proof or its fault.
        for (const char* calling : {"W sH", "3H", "3Q"}) {
            dialog.SetControlText(kCalling, calling);
            ExpectProof(dialog, FirstLine(RunCli("prove --method 'Bristol Surprise Major' --calling '" +
                                                 std::string(calling) + "'")));
        }
        dialog.OnCancel();
    });
    EXPECT_EQ(script.messages, std::vector<std::string>{});
}

// Plain Bob Minor as the list fills it in, with `typed` in the other boxes.
MethodForm PlainBobMinor(MethodForm typed)
{
    typed.title = "Plain Bob Minor";
    typed.placeNotation = "-16-16-16,12";
    typed.stage = "6";
    typed.bob = "14";
    typed.single = "1234";
    return typed;
}

struct Refusal {
    MethodForm form;
    const char* cli;            // the same choice on the command line
    const char* own = nullptr;  // the dialog's message, where it cannot be the command line's
};

// The command line's message as the dialog words it: its boxes for the options.
std::string InTheDialogsWords(std::string message)
{
    const std::pair<std::string, std::string> kLabels[] = {
        {"--calls", "Calls"}, {"--calling", "Calling"}, {"--parts", "Parts"},
        {"--stage", "Stage"}, {"--rms-ms", "RMS (ms)"}, {"--odd-bell", "Odd bell"},
    };
    for (const auto& [option, label] : kLabels)
        for (auto at = message.find(option); at != std::string::npos; at = message.find(option, at))
            message.replace(at, option.size(), label);
    return message;
}

// OK refuses what the command line refuses, in its words, and stays open.
TEST(MethodDlg, OkRefusesWhatTheCommandLineRefuses)
{
    // A writable output: the command line checks it before anything else.
    const std::string bells = " --demo-bells -o " + ::testing::TempDir() + "refused.wav";
    const Refusal refusals[] = {
        {PlainBobMinor({.calls = "pbx"}), "prove --method 'Plain Bob Minor' --calls pbx"},
        {PlainBobMinor({.calls = "b", .calling = "H"}), "prove --method 'Plain Bob Minor' --calls b --calling H"},
        {PlainBobMinor({.calling = "3H", .parts = "0"}), "prove --method 'Plain Bob Minor' --calling 3H --parts 0"},
        {PlainBobMinor({.calling = "W H H"}), "prove --method 'Plain Bob Minor' --calling 'W H H'"},
        {{.placeNotation = "x1x", .stage = "17"}, "prove --place-notation x1x --stage 17"},
        {{.placeNotation = "x9", .stage = "8"}, "prove --place-notation x9 --stage 8"},
        {{.title = "Stedman Triples", .placeNotation = "3.1.7.3.1.3.1.3.7.1.3.1", .stage = "7", .calling = "3H"},
         "prove --method 'Stedman Triples' --calling 3H"},
        {PlainBobMinor({.likeABand = true, .rmsMilliseconds = "300"}),
         "render --method 'Plain Bob Minor' --striking-model human --rms-ms 300"},
        {PlainBobMinor({.oddBell = 3, .lateMilliseconds = "soon"}),
         "render --method 'Plain Bob Minor' --odd-bell 3:soon",
         "Late (ms) must be a number of milliseconds from -1000 to 1000 (negative: early)"},
        {PlainBobMinor({.oddBell = 8, .lateMilliseconds = "20"}), "render --method 'Plain Bob Minor' --odd-bell 8:20"},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(r.cli);
        std::string command = r.cli;
        if (command.rfind("render", 0) == 0)
            command.append(bells);
        const CliRun refused = RunCli(command);
        ASSERT_NE(refused.status, 0);
        const std::string expected = r.own != nullptr ? r.own : InTheDialogsWords(FirstLine(refused));
        ASSERT_FALSE(expected.empty());

        CToolkitScript script;
        MethodCatalogue catalogue;
        CMethodDlg dialog(r.form, catalogue);
        bool stayedOpen = false;
        RunDialog(dialog, script, [&] {
            dialog.OnOK();
            stayedOpen = dialog.Window()->isVisible();
            dialog.OnCancel();
        });
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(script.messages, std::vector<std::string>{expected});
        EXPECT_FALSE(dialog.Choice());
    }
}

// Tab visits the controls in the order they are listed, each with a name;
// the list is reached and chosen from with the keyboard, and Enter is OK.
TEST(MethodDlg, WorksFromTheKeyboardAlone)
{
    CToolkitScript script;
    MethodCatalogue catalogue;
    CMethodDlg dialog(MethodForm{}, catalogue);
    std::vector<std::string> visited;
    const int result = RunDialog(dialog, script, [&] {
        QTest::keyClicks(QApplication::focusWidget(), "plain bob minor");
        for (int k = 0; k < 20; ++k) {
            QWidget* focus = QApplication::focusWidget();
            visited.push_back(focus->accessibleName().isEmpty() ? "" : focus->accessibleName().toStdString());
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        EXPECT_EQ(QApplication::focusWidget(), dialog.GetDlgItem(kFind));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);  // the entry that has the focus
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    // Library..., the check box, the checked one of the two radio buttons,
    // OK, Cancel and Clear are named by their captions.
    const std::vector<std::string> names{
        "Find", "Methods", "",         "Place notation", "Stage",     "Bob",    "Single", "Calls", "Calling", "Parts",
        "",     "",        "RMS (ms)", "Odd bell",       "Late (ms)", "Stroke", "Proof",  "",      "",        ""};
    EXPECT_EQ(visited, names) << ::testing::PrintToString(visited);
    ASSERT_EQ(result, IDOK);
    ASSERT_TRUE(dialog.Choice());
    EXPECT_EQ(dialog.Choice()->summary, "Plain Bob Minor: plain course; even");
    EXPECT_EQ(dialog.Choice()->touch.method.notation, "-16-16-16,12");
}

// The dialog opens as it was left, the list's choice among them; Clear
// ends it with its own result.
TEST(MethodDlg, ReopensWithTheLastChoiceAndClearGoesBack)
{
    CToolkitScript script;
    MethodCatalogue catalogue;
    MethodForm form;
    form.find = "cambridge";
    form.title = "Cambridge Surprise Minor";
    form.placeNotation = "-36-14-12-36-14-56,12";
    form.stage = "6";
    form.bob = "14";
    form.calling = "3H";
    form.wholeTouch = true;
    form.likeABand = true;
    form.rmsMilliseconds = "12.5";
    form.oddBell = 2;
    form.lateMilliseconds = "-30";
    form.oddStroke = 2;
    CMethodDlg dialog(form, catalogue);
    const int result = RunDialog(dialog, script, [&] {
        EXPECT_EQ(dialog.GetListItem(kMethods, dialog.GetListSelection(kMethods)), "Cambridge Surprise Minor");
        EXPECT_EQ(dialog.GetControlText(kCalling), "3H");
        EXPECT_TRUE(dialog.IsDlgButtonChecked(kWholeTouch));
        EXPECT_TRUE(dialog.IsRadioChecked(kLikeABand));
        EXPECT_FALSE(dialog.IsRadioChecked(kEven));
        ExpectProof(dialog, "360 changes, true");
        dialog.OnOK();
        EXPECT_EQ(dialog.Choice()->summary,
                  "Cambridge Surprise Minor: 3H, whole touch; like a band, 12.5 ms; bell 2 30 ms early at backstroke");
        dialog.OnCancel();
    });
    EXPECT_EQ(result, IDOK);
    CMethodDlg again(form, catalogue);
    EXPECT_EQ(RunDialog(again, script, [&] { QTest::mouseClick(again.GetDlgItem(kClear), Qt::LeftButton); }),
              kMethodCleared);
    EXPECT_EQ(script.messages, std::vector<std::string>{});
}

}  // namespace
