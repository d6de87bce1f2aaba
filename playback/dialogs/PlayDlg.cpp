#include "playback/dialogs/PlayDlg.h"

using namespace PlayDlgIds;

CPlayDlg::CPlayDlg(CSoundBuffer* sound, PlayRequest* request, CWaveOut& waveOut, CDialog* parent)
    : CDialog(kLayout, parent),
      sound(sound),
      request(request),
      player(*sound, waveOut)
{
}

CPlayDlg::~CPlayDlg() = default;

void CPlayDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, kProgressBar, progressBar);
}

bool CPlayDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const PlayResult result = player.StartPlay(request);
    if (result != PlayOK) {
        MessageBox(PlayResultText(result));
        CDialog::OnCancel();
        return true;
    }
    progressBar.SetRange(0, 100);
    SetTimer(kProgressTimer, kProgressPeriodMs);
    return true;
}

void CPlayDlg::OnTimer(int)
{
    progressBar.SetPos(player.PlayProgress());
    if (player.playStopped) {
        KillTimer(kProgressTimer);
        player.StopPlay();
        CDialog::OnOK();
    }
}

void CPlayDlg::OnCancel()
{
    player.RequestStop();
}
