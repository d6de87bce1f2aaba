#include "app/ExitDlg.h"

CExitDlg::CExitDlg(CDialog* parent) : CDialog(ExitDlgIds::kLayout, parent) {}

CExitDlg::~CExitDlg() = default;

void CExitDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
}

void CExitDlg::OnOK()
{
    CDialog::OnOK();
}

void CExitDlg::OnCancel()
{
    CDialog::OnCancel();
}
