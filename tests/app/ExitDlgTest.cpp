#include "app/ExitDlg.h"
#include "app/toolkit/Toolkit.h"
#include "synth/dialogs/GenerateDlg.h"
#include "tests/app/ToolkitTestSupport.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ExitDlg, ShowsItsFixedTexts)
{
    CExitDlg dlg;
    EXPECT_EQ(dlg.Window()->windowTitle(), "Exiting Carillix");
    EXPECT_EQ(dlg.GetControlText(IDOK), "OK");
    EXPECT_EQ(dlg.GetControlText(IDCANCEL), "Cancel and return");
    EXPECT_TRUE(dlg.Control<QPushButton>(IDOK)->isDefault());
    QStringList labels;
    for (const auto* label : dlg.Window()->findChildren<QLabel*>()) {
        labels << label->text();
        EXPECT_TRUE(label->alignment() & Qt::AlignHCenter);
    }
    labels.sort();
    EXPECT_EQ(labels, QStringList({"About to exit Carillix.", "Unsaved data will be lost!"}));
}

TEST(ExitDlg, OkAndEnterConfirmEverythingElseReturns)
{
    struct Way {
        const char* name;
        std::function<void(CExitDlg&)> act;
        int result;
    };
    const Way ways[] = {
        {"OK", [](CExitDlg& d) { QTest::mouseClick(d.GetDlgItem(IDOK), Qt::LeftButton); }, IDOK},
        {"Enter", [](CExitDlg& d) { QTest::keyClick(d.Window(), Qt::Key_Return); }, IDOK},
        {"Cancel and return", [](CExitDlg& d) { QTest::mouseClick(d.GetDlgItem(IDCANCEL), Qt::LeftButton); }, IDCANCEL},
        {"Esc", [](CExitDlg& d) { QTest::keyClick(d.Window(), Qt::Key_Escape); }, IDCANCEL},
        {"close box", [](CExitDlg& d) { d.Window()->close(); }, IDCANCEL},
    };
    for (const Way& way : ways) {
        CToolkitScript script;
        CExitDlg dlg;
        script.onDialogShown = [&](CDialog&) {
            if (std::string(way.name) == "OK") {
                SaveScreenshot(dlg.Window(), "exit-dialog");
            }
            way.act(dlg);
        };
        EXPECT_EQ(dlg.DoModal(), way.result) << way.name;
        EXPECT_TRUE(script.messages.empty());
    }
}

}  // namespace

namespace {

TEST(ExitDlg, OpensOverTheDialogThatRunsIt)
{
    CToolkitScript script;
    CDialog outer(GenerateDlgIds::kLayout);
    bool checked = false;
    script.onDialogShown = [&](CDialog& shown) {
        if (&shown == &outer) {
            CExitDlg confirm;
            EXPECT_EQ(confirm.DoModal(), IDCANCEL);
            outer.EndDialog(IDOK);
            return;
        }
        checked = true;
        EXPECT_EQ(shown.Window()->parentWidget(), outer.Window());
        const QPoint offset = shown.Window()->frameGeometry().center() - outer.Window()->frameGeometry().center();
        EXPECT_LE(offset.manhattanLength(), 4);
        shown.OnCancel();
    };
    EXPECT_EQ(outer.DoModal(), IDOK);
    EXPECT_TRUE(checked);
}

}  // namespace
