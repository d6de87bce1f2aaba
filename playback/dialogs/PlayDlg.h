#pragma once

#include "app/toolkit/Dialog.h"
#include "playback/PlayRequest.h"
#include "playback/SoundPlayer.h"

#include <memory>

class CSoundBuffer;
class CWaveOut;

// The modal dialog shown while a sound plays (layout 106). Starts playback
// of `request`'s range of `sound`, follows it every 500 ms and ends with
// IDOK at the first tick after the sound has played out or Cancel (button or
// Esc) was pressed, with the device stopped and closed. A failed start shows
// its text and ends with IDCANCEL at once.
//
// `sound` and `request` are not owned and must outlive the dialog; the
// sound's samples must not change while it runs. Thread: user-interface
// thread; the device's completion thread sets the player's playStopped.
class CPlayDlg : public CDialog {
public:
    // Plays through the system's default output.
    CPlayDlg(CSoundBuffer* sound, PlayRequest* request, CDialog* parent = nullptr);
    // Plays through `waveOut`, which must outlive the dialog.
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
    std::unique_ptr<CWaveOut> ownDevice;  // the default output, when none was given
    CSoundPlayer player;                  // stops any playback before the device goes
};
