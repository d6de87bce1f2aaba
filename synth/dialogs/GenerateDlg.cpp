#include "synth/dialogs/GenerateDlg.h"

#include "app/toolkit/Toolkit.h"
#include "sound/SoundBuffer.h"
#include "synth/RenderPeal.h"

using namespace GenerateDlgIds;

CGenerateDlg::CGenerateDlg(CDialog* parent) : CGenerateDlg(&RenderPeal, parent) {}

CGenerateDlg::CGenerateDlg(RenderFunction render, CDialog* parent) : CDialog(kLayout, parent), render(render) {}

CGenerateDlg::~CGenerateDlg()
{
    if (worker.joinable()) {
        job.cancelRequested = true;
    }
    JoinWorker();
}

void CGenerateDlg::SetJob(std::int16_t stage, std::int32_t totalSamples, std::int32_t preRollSamples,
                          std::int32_t fadeSamples, std::int32_t strikeInterval, std::int32_t handstrokeGap,
                          CSoundBuffer* outputSound, MethodStyle style, std::int16_t strikingError,
                          const CSoundBuffer* bells, StrikeRandom* random)
{
    running = false;
    job.stage = stage;
    job.totalSamples = totalSamples;
    job.preRollSamples = preRollSamples;
    job.fadeSamples = fadeSamples;
    job.strikeInterval = strikeInterval;
    job.handstrokeGap = handstrokeGap;
    job.style = style;
    job.strikingError = strikingError;
    preRollBuffer = std::make_unique<double[]>(preRollSamples > 0 ? static_cast<std::size_t>(preRollSamples) : 1);
    job.preRollBuffer = preRollBuffer.get();
    job.samplesDone = 0;
    job.cancelRequested = false;
    job.finished = false;
    this->outputSound = outputSound;
    job.output = outputSound ? outputSound->samples.get() : nullptr;
    job.bells = bells;
    job.random = random;
}

void CGenerateDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kProgressBar, progressBar);
}

bool CGenerateDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    progressBar.SetRange(0, 100);
    worker = StartWorkerThread(render, &job);
    SetTimer(kProgressTimer, kProgressPeriodMs);
    running = true;
    return true;
}

void CGenerateDlg::OnTimer(int)
{
    const std::int32_t done = job.samplesDone;
    const double share = job.totalSamples > 0 ? done * 100.0 / job.totalSamples : 0.0;
    progressBar.SetPos(static_cast<std::int16_t>(share));
    if (!job.finished) {
        return;
    }
    KillTimer(kProgressTimer);
    if (job.samplesDone == job.totalSamples) {
        CDialog::OnOK();
    } else {
        CDialog::OnCancel();
    }
}

void CGenerateDlg::OnCancel()
{
    if (running) {
        job.cancelRequested = true;
        running = false;
        return;
    }
    CDialog::OnCancel();
}

void CGenerateDlg::OnModalEnded()
{
    JoinWorker();
}

void CGenerateDlg::JoinWorker()
{
    if (worker.joinable()) {
        worker.join();
    }
}
