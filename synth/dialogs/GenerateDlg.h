#pragma once

#include "app/toolkit/Dialog.h"
#include "synth/RenderParams.h"

#include <cstdint>
#include <memory>
#include <thread>

class CSoundBuffer;
class StrikeRandom;

// The generation dialog's layout and control ids; its button is IDCANCEL.
namespace GenerateDlgIds {
inline constexpr int kLayout = 114;
inline constexpr int kGeneratingText = 1042;
inline constexpr int kProgressBar = 1054;
inline constexpr int kProgressTimer = 1;  // polls the worker every kProgressPeriodMs
inline constexpr int kProgressPeriodMs = 500;
}  // namespace GenerateDlgIds

// The function a generation runs on its worker thread.
using RenderFunction = std::uint32_t (*)(RenderParams*);

// The modal progress dialog of one render (layout 114): starts the worker,
// shows its progress every 500 ms, lets the user cancel, and ends with IDOK
// exactly when the whole output was rendered, else IDCANCEL.
//
// Calling order: construct, SetJob, DoModal, destroy. A first Cancel (button
// or Esc) only asks the worker to stop; the tick after the worker has
// returned ends the dialog. A second Cancel ends it at once. Either way
// DoModal (called on this class or through CDialog) returns only after the
// worker has returned, and the destructor joins a worker still running
// before the job and its pre-roll buffer go, so the worker never outlives
// what it uses.
//
// Thread: user-interface thread; the worker shares job.cancelRequested,
// job.samplesDone and job.finished (atomics) and nothing else.
class CGenerateDlg : public CDialog {
public:
    // Renders with RenderPeal.
    explicit CGenerateDlg(CDialog* parent = nullptr);
    // Renders with `render` (tests).
    explicit CGenerateDlg(RenderFunction render, CDialog* parent = nullptr);
    ~CGenerateDlg() override;

    // Fills the job: the eight numbers, a fresh pre-roll buffer of
    // preRollSamples doubles, all shared flags and counts 0, job.output =
    // outputSound's samples (which must hold at least totalSamples), and
    // job.bells = `bells` (sixteen records that outlive the dialog) and
    // job.random = `random`: the striking error's generator, which the render
    // advances, so that the next render with it goes on where this one ends
    // (null: a fresh generator seeded with job.seed). The generator must
    // outlive the dialog. Sets running to false.
    void SetJob(std::int16_t stage, std::int32_t totalSamples, std::int32_t preRollSamples, std::int32_t fadeSamples,
                std::int32_t strikeInterval, std::int32_t handstrokeGap, CSoundBuffer* outputSound, MethodStyle style,
                std::int16_t strikingError, const CSoundBuffer* bells, StrikeRandom* random = nullptr);

    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(int id) override;
    // Waits for the worker, so that DoModal never returns while it runs.
    void OnModalEnded() override;

    RenderParams job;
    CProgressCtrl progressBar;
    bool running = false;                 // from the end of OnInitDialog until the first Cancel
    CSoundBuffer* outputSound = nullptr;  // not owned

private:
    void JoinWorker();

    RenderFunction render;
    std::unique_ptr<double[]> preRollBuffer;  // job.preRollBuffer points here
    std::thread worker;
};
