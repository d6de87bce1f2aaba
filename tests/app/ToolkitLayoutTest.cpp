#include "app/ExitDlg.h"
#include "app/PealDlg.h"
#include "app/toolkit/Dialog.h"
#include "app/toolkit/DialogLayout.h"
#include "playback/dialogs/PlayDlg.h"
#include "synth/dialogs/GenerateDlg.h"
#include "tests/app/ToolkitTestSupport.h"

#include <QComboBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(DialogUnits, ConvertFromTheFontsAverageWidthAndHeight)
{
    const DialogBaseUnits base{6, 13};
    EXPECT_EQ(DialogUnitsToPixels(QRect(4, 8, 8, 16), base), QRect(6, 13, 12, 26));
    EXPECT_EQ(DialogUnitsToPixels(QSize(412, 300), base), QSize(618, 488));
    // Rounded edges: adjacent rectangles stay adjacent.
    const QRect a = DialogUnitsToPixels(QRect(15, 60, 25, 8), base);
    const QRect b = DialogUnitsToPixels(QRect(40, 60, 35, 12), base);
    EXPECT_EQ(a.right() + 1, b.left());
}

TEST(DialogUnits, ControlsKeepTheirProportionsAtEveryFontSize)
{
    CDialog dialog(ExitDlgIds::kLayout);
    const DialogBaseUnits base = dialog.BaseUnits();
    ASSERT_GT(base.charWidth, 0);
    ASSERT_GT(base.charHeight, 0);
    EXPECT_EQ(dialog.Window()->size(), DialogUnitsToPixels(QSize(132, 58), base));
    const QRect ok = dialog.GetDlgItem(IDOK)->geometry();
    const QRect cancel = dialog.GetDlgItem(IDCANCEL)->geometry();
    EXPECT_EQ(ok, DialogUnitsToPixels(QRect(7, 37, 44, 14), base));
    EXPECT_NEAR(static_cast<double>(cancel.width()) / ok.width(), 62.0 / 44.0, 0.05);

    DialogLayout layout = *LoadDialogLayout(ExitDlgIds::kLayout);
    layout.fontPoints = 16;
    CDialog large(layout);
    EXPECT_GT(large.BaseUnits().charHeight, base.charHeight);
    const QRect largeOk = large.GetDlgItem(IDOK)->geometry();
    EXPECT_NEAR(static_cast<double>(largeOk.width()) / largeOk.height(), static_cast<double>(ok.width()) / ok.height(),
                0.2);
}

TEST(DialogLayouts, AllFourLoadWithTheirCaptionsAndFitTheirDialog)
{
    const std::pair<int, const char*> layouts[] = {{PealDlgIds::kLayout, "Carillix"},
                                                   {PlayDlgIds::kLayout, "Play Waveform"},
                                                   {ExitDlgIds::kLayout, "Exiting Carillix"},
                                                   {GenerateDlgIds::kLayout, "Generate sounds"}};
    for (const auto& [id, caption] : layouts) {
        const auto layout = LoadDialogLayout(id);
        ASSERT_TRUE(layout) << id;
        EXPECT_EQ(layout->caption, caption);
        const QRect bounds(QPoint(0, 0), layout->size);
        for (const ControlLayout& c : layout->controls) {
            EXPECT_TRUE(bounds.contains(c.rect)) << id << " control " << c.id << " " << c.text.toStdString();
        }
    }
    EXPECT_FALSE(LoadDialogLayout(999));
}

// A wrong number in the main layout's tables shows as an overlap or a
// missing id; the frames and the lists' opened height are allowed to cover.
TEST(DialogLayouts, MainLayoutHasEveryIdOnceAndNoOverlaps)
{
    using namespace PealDlgIds;
    const auto layout = LoadDialogLayout(kLayout);
    ASSERT_TRUE(layout);
    std::vector<const ControlLayout*> solid;
    std::set<int> ids;
    for (const ControlLayout& c : layout->controls) {
        if (c.id != -1) {
            EXPECT_TRUE(ids.insert(c.id).second) << "duplicate id " << c.id;
        }
        if (c.kind != ControlKind::GroupBox && c.kind != ControlKind::DropList) {
            solid.push_back(&c);
        }
    }
    for (int id :
         {kExit, kGenerate, kWriteFile, kPlayFile, kBellCountList, kLength, kSampleRate, kClearAll, kDescription,
          kLegal, kCompany, kWebAddress, kVersion, kStrikingError, kPealSpeedList, kMethod, kMethodLine}) {
        EXPECT_TRUE(ids.count(id)) << id;
    }
    EXPECT_EQ(ids.size(), 73u);
    for (std::size_t i = 0; i < solid.size(); ++i) {
        for (std::size_t j = i + 1; j < solid.size(); ++j) {
            EXPECT_FALSE(solid[i]->rect.intersects(solid[j]->rect))
                << solid[i]->id << " " << solid[i]->text.toStdString() << " / " << solid[j]->id << " "
                << solid[j]->text.toStdString();
        }
    }
    EXPECT_EQ(layout->Find(kBellName[0])->rect, QRect(85, 60, 85, 12));
    EXPECT_EQ(layout->Find(kReadFile[15])->rect, QRect(205, 179, 35, 12));
    EXPECT_EQ(layout->Find(kBellName[15])->rect, QRect(250, 179, 85, 12));
}

TEST(DialogLayouts, SortedListsInsertInOrderAndUnsortedKeepTheirOrder)
{
    DialogLayout layout;
    layout.id = 1;
    layout.size = QSize(100, 100);
    ControlLayout sorted;
    sorted.id = 10;
    sorted.kind = ControlKind::DropList;
    sorted.rect = QRect(0, 0, 50, 40);
    sorted.sorted = true;
    sorted.items = {"b", "10", " 5", "a"};
    ControlLayout plain = sorted;
    plain.id = 11;
    plain.rect = QRect(0, 50, 50, 40);
    plain.sorted = false;
    layout.controls = {sorted, plain};

    CDialog dialog(layout);
    dialog.OnInitDialog();
    auto entries = [&](int id) {
        QStringList list;
        const auto* combo = dialog.Control<QComboBox>(id);
        for (int i = 0; i < combo->count(); ++i) {
            list << combo->itemText(i);
        }
        return list;
    };
    EXPECT_EQ(entries(10), QStringList({" 5", "10", "a", "b"}));
    EXPECT_EQ(entries(11), QStringList({"b", "10", " 5", "a"}));
    // Initialising again does not add the entries twice.
    dialog.OnInitDialog();
    EXPECT_EQ(entries(10).size(), 4);
}

TEST(DialogLayouts, MainListsHoldTheirEntriesInIndexOrder)
{
    CDialog dialog(PealDlgIds::kLayout);
    dialog.OnInitDialog();
    const auto* bells = dialog.Control<QComboBox>(PealDlgIds::kBellCountList);
    const auto* speed = dialog.Control<QComboBox>(PealDlgIds::kPealSpeedList);
    ASSERT_TRUE(bells && speed);
    const QStringList bellTexts = {" 5", " 6", " 8", "10", "12", "14", "16"};
    const QStringList speedTexts = {"2h 45", "3h 00", "3h 15", "3h 30", "3h 45", "4h 00"};
    ASSERT_EQ(bells->count(), bellTexts.size());
    ASSERT_EQ(speed->count(), speedTexts.size());
    for (int i = 0; i < bells->count(); ++i) {
        EXPECT_EQ(bells->itemText(i), bellTexts[i]);
    }
    for (int i = 0; i < speed->count(); ++i) {
        EXPECT_EQ(speed->itemText(i), speedTexts[i]);
    }
    EXPECT_TRUE(dialog.Control<QPushButton>(IDOK)->isDefault());
}

// Built into widgets, no two controls of the main layout cover each other
// (frames aside), whatever the font turned out to be.
TEST(DialogLayouts, MainLayoutWidgetsDoNotOverlap)
{
    using namespace PealDlgIds;
    CDialog dialog(kLayout);
    dialog.OnInitDialog();
    for (int id : kBellName) {
        dialog.SetControlText(id, "No file loaded");
    }
    dialog.SetControlText(kDescription, "Change ringing sound maker");
    dialog.SetControlText(kVersion, "1.6");
    dialog.Control<QComboBox>(kBellCountList)->setCurrentIndex(3);
    dialog.Control<QComboBox>(kPealSpeedList)->setCurrentIndex(1);
    std::vector<QWidget*> widgets;
    for (const ControlLayout& c : dialog.Layout().controls) {
        if (c.kind != ControlKind::GroupBox && c.id != -1) {
            widgets.push_back(dialog.GetDlgItem(c.id));
        }
    }
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        for (std::size_t j = i + 1; j < widgets.size(); ++j) {
            EXPECT_FALSE(widgets[i]->geometry().intersects(widgets[j]->geometry()))
                << widgets[i]->objectName().toStdString() << i << " / " << j;
        }
    }
    dialog.Window()->show();
    EXPECT_TRUE(SaveScreenshot(dialog.Window(), "main-layout"));
    dialog.Window()->hide();
}

}  // namespace
