#include "app/PealApp.h"

#include "app/PealDlg.h"
#include "app/VersionRecord.h"

CPealApp theApp;
std::array<CSoundBuffer, kMaxBells> bells;

bool CPealApp::InitInstance()
{
    ReadVersionStrings();
    {
        CPealDlg dialog;
        dialog.DoModal();
    }
    return false;
}

void CPealApp::ReadVersionStrings()
{
    if (!HasVersionRecord())
        return;
    QueryVersionValue(kCompanyNamePath, companyName);
    QueryVersionValue(kFileDescriptionPath, fileDescription);
    QueryVersionValue(kProductVersionPath, productVersion);
    QueryVersionValue(kLegalCopyrightPath, legalNotice);
}
