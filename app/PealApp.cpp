#include "app/PealApp.h"

#include "app/PealDlg.h"
#include "app/VersionRecord.h"
#include "app/toolkit/Toolkit.h"

#include <QApplication>

CPealApp theApp;
std::array<CSoundBuffer, kMaxBells> bells;

void SetUpApplicationIdentity()
{
    QApplication::setApplicationName(kApplicationName);
    QApplication::setDesktopFileName("org.carillix.Carillix");
    QApplication::setWindowIcon(CPealDlg::ApplicationIcon());
}

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
