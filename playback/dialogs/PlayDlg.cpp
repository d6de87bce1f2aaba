#include "playback/dialogs/PlayDlg.h"

#include "playback/PortAudioWaveOut.h"

CPlayDlg::CPlayDlg(CSoundBuffer* sound, PlayRequest* request, CDialog* parent)
    : CDialog(106, parent),
      sound(sound),
      request(request),
      ownDevice(std::make_unique<CPortAudioWaveOut>()),
      player(*sound, *ownDevice)
{
}

CPlayDlg::CPlayDlg(CSoundBuffer* sound, PlayRequest* request, CWaveOut& waveOut, CDialog* parent)
    : CDialog(106, parent),
      sound(sound),
      request(request),
      player(*sound, waveOut)
{
}

CPlayDlg::~CPlayDlg() = default;

void CPlayDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, 1115, progressBar);
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
    SetTimer(1, 500);
    return true;
}

void CPlayDlg::OnTimer(int)
{
    progressBar.SetPos(player.PlayProgress());
    if (player.playStopped) {
        KillTimer(1);
        player.StopPlay();
        CDialog::OnOK();
    }
}

void CPlayDlg::OnCancel()
{
    player.RequestStop();
}
