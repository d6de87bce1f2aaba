#include "synth/dialogs/GenerateDlg.h"

#include "synth/PealRender.h"

using namespace GenerateDlgIds;

CGenerateDlg::CGenerateDlg(PealRender& render, CDialog* parent) : CDialog(kLayout, parent), render(render) {}

void CGenerateDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kProgressBar, progressBar);
}

bool CGenerateDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    progressBar.SetRange(0, 100);
    render.Start();
    SetTimer(kProgressTimer, kProgressPeriodMs);
    running = true;
    return true;
}

void CGenerateDlg::OnTimer(int)
{
    const std::int32_t total = render.TotalSamples();
    const double share = total > 0 ? render.SamplesDone() * 100.0 / total : 0.0;
    progressBar.SetPos(static_cast<std::int16_t>(share));
    if (!render.Finished()) {
        return;
    }
    KillTimer(kProgressTimer);
    if (render.Complete()) {
        CDialog::OnOK();
    } else {
        CDialog::OnCancel();
    }
}

void CGenerateDlg::OnCancel()
{
    if (running) {
        render.Cancel();
        running = false;
        return;
    }
    CDialog::OnCancel();
}

void CGenerateDlg::OnModalEnded()
{
    render.Wait();
}
