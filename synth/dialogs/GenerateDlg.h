#pragma once

#include "app/toolkit/Dialog.h"

class PealRender;

// The generation dialog's layout and control ids; its button is IDCANCEL.
namespace GenerateDlgIds {
inline constexpr int kLayout = 114;
inline constexpr int kGeneratingText = 1042;
inline constexpr int kProgressBar = 1054;
inline constexpr int kProgressTimer = 1;  // polls the worker every kProgressPeriodMs
inline constexpr int kProgressPeriodMs = 500;
}  // namespace GenerateDlgIds

// The modal progress dialog of one render (layout 114): starts it on its
// worker, shows its progress every 500 ms, lets the user cancel, and ends
// with IDOK exactly when the whole sound was rendered, else IDCANCEL.
//
// Calling order: set up a PealRender (its sound's destination chosen, not
// started), construct the dialog on it, DoModal, destroy; the render
// outlives the dialog. A first Cancel (button or Esc) only asks the worker
// to stop; the tick after the worker has returned ends the dialog. A second
// Cancel ends it at once. Either way DoModal (called on this class or
// through CDialog) returns only after the worker has returned.
//
// Thread: user-interface thread; the worker shares only the render's
// progress and cancel flag.
class CGenerateDlg : public CDialog {
public:
    explicit CGenerateDlg(PealRender& render, CDialog* parent = nullptr);

    void DoDataExchange(CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnCancel() override;
    void OnTimer(int id) override;
    // Waits for the worker, so that DoModal never returns while it runs.
    void OnModalEnded() override;

    PealRender& render;  // not owned
    CProgressCtrl progressBar;
    bool running = false;  // from the end of OnInitDialog until the first Cancel
};
