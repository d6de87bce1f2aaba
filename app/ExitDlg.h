#pragma once

#include "app/toolkit/Dialog.h"

// The exit confirmation's layout; its buttons are IDOK and IDCANCEL.
namespace ExitDlgIds {
inline constexpr int kLayout = 112;
}  // namespace ExitDlgIds

// Asks the user to confirm leaving the application (layout 112). Decides and
// changes nothing: "OK" and Enter end it with IDOK; "Cancel and return", Esc
// and the close box with IDCANCEL. With no parent it is owned by, and
// centred over, the modal dialog active when it runs.
class CExitDlg : public CDialog {
public:
    explicit CExitDlg(CDialog* parent = nullptr);
    ~CExitDlg() override;

    void DoDataExchange(CDataExchange& dx) override;
    void OnOK() override;
    void OnCancel() override;
};
