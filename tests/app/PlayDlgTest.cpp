#include "playback/dialogs/PlayDlg.h"
#include "app/toolkit/Toolkit.h"
#include "playback/SimulatedWaveOut.h"
#include "sound/SoundBuffer.h"
#include "tests/app/ToolkitTestSupport.h"

#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class PlayDlgTest : public ::testing::Test {
protected:
    // A silent sound of `seconds` at 8000 Hz and a request for all of it, as
    // the main dialog builds it.
    void MakeSound(double seconds)
    {
        const auto length = static_cast<std::int32_t>(seconds * 8000);
        ASSERT_TRUE(sound.InitPcm16(8000, length, 16));
        std::fill_n(sound.samples.get(), length, std::int16_t{0});
        sound.state = 1;
        request.useRange = 0;
        request.rangeStart = 0;
        request.rangeEnd = length;
        request.fullLength = length;
    }

    CSoundBuffer sound;
    PlayRequest request;
    CToolkitScript script;
};

TEST_F(PlayDlgTest, ASoundThatPlaysOutClosesTheDialogWithOk)
{
    MakeSound(2.0);
    CSimulatedWaveOut device({.speed = 0.05});
    CPlayDlg dlg(&sound, &request, device);
    EXPECT_EQ(dlg.Window()->windowTitle(), "Play Waveform");
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.progressBar.GetPos(), 100);
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.PlayedBlocks().size(), 2u);  // 8192 + 7808 samples
    EXPECT_EQ(device.Calls().drains, 1);          // heard to the end
    EXPECT_EQ(device.Calls().resets, 0);
    EXPECT_TRUE(script.messages.empty());
}

// Counts the progress ticks a play dialog gets after its Cancel.
class CountingPlayDlg : public CPlayDlg {
public:
    using CPlayDlg::CPlayDlg;
    void OnCancel() override
    {
        cancelled = true;
        CPlayDlg::OnCancel();
    }
    void OnTimer(int id) override
    {
        ticksAfterCancel += cancelled ? 1 : 0;
        CPlayDlg::OnTimer(id);
    }
    bool cancelled = false;
    int ticksAfterCancel = 0;
};

TEST_F(PlayDlgTest, CancelClosesAtTheNextTickWithTheDeviceStopped)
{
    MakeSound(60.0);
    CSimulatedWaveOut device;
    CountingPlayDlg dlg(&sound, &request, device);
    script.onDialogShown = [&](CDialog&) {
        EXPECT_TRUE(device.IsOpen());
        SaveScreenshot(dlg.Window(), "play-dialog");
        QTest::mouseClick(dlg.GetDlgItem(IDCANCEL), Qt::LeftButton);
        EXPECT_TRUE(dlg.IsRunning());                   // not at once
        QTest::keyClick(dlg.Window(), Qt::Key_Escape);  // again: nothing more
        EXPECT_TRUE(dlg.IsRunning());
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.ticksAfterCancel, 1);
    EXPECT_EQ(device.Calls().resets, 1);  // cut off at once
    EXPECT_FALSE(device.IsOpen());
    EXPECT_EQ(device.Calls().closes, 1);
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(PlayDlgTest, AnEmptySoundShowsPlayLengthZeroAndOpensNoDevice)
{
    CSimulatedWaveOut device;
    CPlayDlg dlg(&sound, &request, device);  // 0 samples, request 0..0
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(script.messages, std::vector<std::string>({"Play length zero!"}));
    EXPECT_EQ(device.Calls().opens, 0);
}

TEST_F(PlayDlgTest, AFailedStartShowsItsTextAndEndsWithCancel)
{
    struct Case {
        SimulatedWaveOutOptions options;
        const char* text;
    };
    const Case cases[] = {
        {{.failOpen = true}, "Failed to open sound device!"},
        {{.failQuery = true}, "Sound format not supported!"},
        {{.failQueueAt = 0}, "Sound driver failure!"},
    };
    for (const Case& c : cases) {
        MakeSound(1.0);
        CToolkitScript local;
        CSimulatedWaveOut device(c.options);
        CPlayDlg dlg(&sound, &request, device);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL) << c.text;
        EXPECT_EQ(local.messages, std::vector<std::string>({c.text}));
        EXPECT_FALSE(device.IsOpen()) << c.text;
    }
}

// A failed start shows its message before the play dialog has been placed:
// the box is centred over the dialog behind, not at the screen's corner.
// No script: the real message box appears.
TEST(PlayDlg, AFailedStartsMessageIsCentredOverTheDialogBehind)
{
    CSoundBuffer sound;
    ASSERT_TRUE(sound.InitPcm16(8000, 8000, 16));
    std::fill_n(sound.samples.get(), 8000, std::int16_t{0});
    PlayRequest request{0, 8000, 8000, 0};
    CSimulatedWaveOut device({.failOpen = true});
    CDialog behind(PlayDlgIds::kLayout);
    bool seen = false;
    WhenReady shown([&] { return behind.IsRunning() && behind.Window()->isVisible(); },
                    [&] {
                        behind.Window()->move(30, 20);  // away from the screen's centre
                        WhenShown<QMessageBox> check([&](QMessageBox& box) {
                            seen = true;
                            EXPECT_EQ(box.text(), "Failed to open sound device!");
                            const QPoint offset =
                                box.frameGeometry().center() - behind.Window()->frameGeometry().center();
                            EXPECT_LE(offset.manhattanLength(), 2);
                            box.accept();
                        });
                        CPlayDlg dlg(&sound, &request, device);
                        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
                        behind.EndDialog(IDOK);
                    });
    EXPECT_EQ(behind.DoModal(), IDOK);
    EXPECT_TRUE(seen);
}

}  // namespace
