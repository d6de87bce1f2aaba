#include "synth/dialogs/GenerateDlg.h"
#include "app/toolkit/Toolkit.h"
#include "sound/SoundBuffer.h"
#include "synth/PealRender.h"
#include "tests/app/ToolkitTestSupport.h"
#include "tests/synth/TestBells.h"

#include <QProgressBar>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A render the test steers: writes sample i as i, can be held before a
// chosen sample until released (optionally deaf to Cancel while held; `held`
// says it has got there), and counts its returns before raising `finished`.
struct FakeRender {
    std::atomic<std::int32_t> holdAt{-1};
    std::atomic<bool> ignoreCancelWhileHeld{false};
    std::atomic<bool> held{false};
    std::atomic<bool> released{false};
    std::atomic<int> returns{0};
};
FakeRender fake;

std::uint32_t Render(RenderParams* job)
{
    for (std::int32_t i = 0; i < job->totalSamples; ++i) {
        if (i == fake.holdAt) {
            fake.held = true;
            while (!fake.released && (fake.ignoreCancelWhileHeld || !job->cancelRequested)) {
                std::this_thread::sleep_for(1ms);
            }
        }
        if (job->cancelRequested) {
            break;
        }
        job->output[i] = static_cast<std::int16_t>(i);
        job->samplesDone = i + 1;
    }
    ++fake.returns;
    job->finished = true;
    return 0;
}

class GenerateDlgTest : public ::testing::Test {
protected:
    static constexpr std::int32_t kTotal = 2000;

    void SetUp() override
    {
        fake.holdAt = -1;
        fake.ignoreCancelWhileHeld = false;
        fake.held = false;
        fake.released = false;
        fake.returns = 0;
        ASSERT_TRUE(render.RenderInto(output));
        std::fill_n(output.samples.get(), kTotal, std::int16_t{-1});
    }

    MarkerBells bells;
    CSoundBuffer output;
    // kTotal samples through the fake render function.
    PealRender render{TestJob::Request(StyleStedman, 5, 1),
                      TestJob::Plan(bells, 8, StyleStedman, kTotal, 100, 50, 400, 300), bells.bells.data(), &Render};
    CToolkitScript script;
};

TEST_F(GenerateDlgTest, ShowsItsTextsAndStartsTheRenderOnlyWhenRun)
{
    {
        CGenerateDlg dlg(render);
        EXPECT_EQ(dlg.Window()->windowTitle(), "Generate sounds");
        EXPECT_EQ(dlg.GetControlText(GenerateDlgIds::kGeneratingText), "Generating ...");
        EXPECT_EQ(dlg.GetControlText(IDCANCEL), "Cancel");
    }
    EXPECT_EQ(fake.returns, 0) << "a dialog destroyed unrun starts nothing";
    EXPECT_FALSE(render.Finished());
    EXPECT_EQ(render.SamplesDone(), 0);
}

TEST_F(GenerateDlgTest, ACompleteRenderEndsWithOkAtTheFirstTickAndProgressStartsAtZero)
{
    CGenerateDlg dlg(render);
    script.onDialogShown = [&](CDialog&) {
        EXPECT_TRUE(dlg.running);
        while (!render.Finished()) {
            std::this_thread::sleep_for(1ms);
        }
        // Finished, but no tick yet: the bar still stands at 0.
        EXPECT_EQ(dlg.progressBar.GetPos(), 0);
        EXPECT_TRUE(dlg.IsRunning());
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.progressBar.GetPos(), 100);
    EXPECT_EQ(output.samples[kTotal - 1], kTotal - 1);
    EXPECT_TRUE(script.messages.empty());
}

// Counts the ticks a generation dialog gets after its first Cancel.
class CountingGenerateDlg : public CGenerateDlg {
public:
    using CGenerateDlg::CGenerateDlg;
    void OnTimer(int id) override
    {
        ticksAfterCancel += render.Params().cancelRequested ? 1 : 0;
        CGenerateDlg::OnTimer(id);
    }
    std::atomic<int> ticksAfterCancel{0};
};

TEST_F(GenerateDlgTest, ProgressFollowsTheWorkerAtEachTick)
{
    fake.holdAt = kTotal / 2 + kTotal / 8;  // 62.5 %
    CGenerateDlg dlg(render);
    script.onDialogShown = [&](CDialog&) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.progressBar.GetPos() == 62; }, kPatienceMs));
        EXPECT_TRUE(dlg.IsRunning());
        SaveScreenshot(dlg.Window(), "generate-dialog");
        fake.released = true;
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.progressBar.GetPos(), 100);
}

TEST_F(GenerateDlgTest, CancelWaitsForTheWorkerThenEndsWithCancel)
{
    fake.holdAt = kTotal / 4;
    fake.ignoreCancelWhileHeld = true;  // a worker slow to notice
    CountingGenerateDlg dlg(render);
    script.onDialogShown = [&](CDialog&) {
        ASSERT_TRUE(QTest::qWaitFor([] { return fake.held.load(); }, kPatienceMs));
        QTest::mouseClick(dlg.GetDlgItem(IDCANCEL), Qt::LeftButton);
        EXPECT_TRUE(render.Params().cancelRequested);
        EXPECT_FALSE(dlg.running);
        // A tick passes while the worker still runs: the dialog stays.
        EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.ticksAfterCancel > 0; }, kPatienceMs));
        EXPECT_TRUE(dlg.IsRunning());
        EXPECT_EQ(dlg.progressBar.GetPos(), 25);
        fake.released = true;
    };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(fake.returns, 1);
    EXPECT_EQ(render.SamplesDone(), kTotal / 4);
    EXPECT_EQ(output.samples[kTotal / 4], -1);
}

TEST_F(GenerateDlgTest, EscIsCancelToo)
{
    fake.holdAt = 10;
    CGenerateDlg dlg(render);
    script.onDialogShown = [&](CDialog&) { QTest::keyClick(dlg.Window(), Qt::Key_Escape); };
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(fake.returns, 1);
}

// Run through the base class too: the join is not a detail of the derived
// DoModal that a caller holding a CDialog& would skip.
TEST_F(GenerateDlgTest, ASecondCancelEndsAtOnceButTheWorkerIsJoinedFirst)
{
    fake.holdAt = 10;
    fake.ignoreCancelWhileHeld = true;
    CGenerateDlg dlg(render);
    script.onDialogShown = [&](CDialog&) {
        dlg.OnCancel();
        EXPECT_TRUE(dlg.IsRunning());
        dlg.OnCancel();
        EXPECT_FALSE(dlg.Window()->isVisible());
        // The worker is still held: it returns only after the modal loop has ended.
        fake.released = true;
    };
    CDialog& base = dlg;
    EXPECT_EQ(base.DoModal(), IDCANCEL);
    EXPECT_EQ(fake.returns, 1);
    EXPECT_TRUE(render.Finished());
}

TEST_F(GenerateDlgTest, CancelAfterTheRenderCompletedButBeforeTheTickStillGivesOk)
{
    CGenerateDlg dlg(render);
    script.onDialogShown = [&](CDialog&) {
        while (!render.Finished()) {
            std::this_thread::sleep_for(1ms);
        }
        QTest::mouseClick(dlg.GetDlgItem(IDCANCEL), Qt::LeftButton);
        EXPECT_TRUE(dlg.IsRunning());
    };
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

// The real renderer on its worker: a short output completes, a long one
// cancelled at once stops early.
TEST(GenerateDlgRenderPeal, CompletesOrStopsOnCancel)
{
    TestBells bells;
    bells.Make(8000, 4000, 10,
               [](int b, std::int32_t k) { return static_cast<std::int16_t>((k * (b + 3)) % 2000 - 1000); });
    for (const bool cancel : {false, true}) {
        CToolkitScript script;
        const std::int32_t total = cancel ? 700 * 8000 : 3 * 8000;
        CSoundBuffer output;
        PealRender render(TestJob::Request(StyleStedman, 5, 1),
                          TestJob::Plan(bells, 8, StyleStedman, total, 8000, 4000, 1600, 1600), bells.bells.data());
        ASSERT_TRUE(render.RenderInto(output));
        CGenerateDlg dlg(render);
        if (cancel) {
            script.onDialogShown = [&](CDialog&) { dlg.OnCancel(); };
        }
        EXPECT_EQ(dlg.DoModal(), cancel ? IDCANCEL : IDOK);
        EXPECT_TRUE(render.Finished());
        if (cancel) {
            EXPECT_LT(render.SamplesDone(), total);
        } else {
            EXPECT_EQ(render.SamplesDone(), total);
            EXPECT_EQ(dlg.progressBar.GetPos(), 100);
        }
    }
}

}  // namespace
