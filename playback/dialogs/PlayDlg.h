#pragma once

#include "app/toolkit/Dialog.h"
#include "playback/PlayRequest.h"
#include "playback/SoundPlayer.h"

class CSoundBuffer;
class CWaveOut;

// The play dialog's layout and control ids; its button is IDCANCEL.
namespace PlayDlgIds {
inline constexpr int kLayout = 106;
inline constexpr int kProgressBar = 1115;
inline constexpr int kProgressTimer = 1;  // polls the player every kProgressPeriodMs
inline constexpr int kProgressPeriodMs = 500;
}  // namespace PlayDlgIds

// The modal dialog shown while a sound plays (layout 106). Starts playback
// of `request`'s range of `sound`, follows it every 500 ms and ends with
// IDOK at the first tick after the sound has played out or Cancel (button or
// Esc) was pressed, with the device stopped and closed. A failed start shows
// its text and ends with IDCANCEL at once.
//
// `sound`, `request` and `waveOut` are not owned and must outlive the
// dialog; the sound's samples must not change while it runs. Thread:
// user-interface thread; the device's completion thread sets the player's
// playStopped.
class CPlayDlg : public CDialog {
public:
    CPlayDlg(CSoundBuffer* sound, PlayRequest* request, CWaveOut& waveOut, CDialog* parent = nullptr);
    ~CPlayDlg() override;

    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(int id) override;

    CProgressCtrl progressBar;
    CSoundBuffer* sound;
    PlayRequest* request;

private:
    CSoundPlayer player;  // stops any playback before the device goes
};
