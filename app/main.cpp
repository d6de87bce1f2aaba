#include "app/PealApp.h"
#include "app/PealDlg.h"
#include "app/toolkit/Toolkit.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(kApplicationName);
    QApplication::setApplicationDisplayName(kApplicationName);
    QApplication::setDesktopFileName("carillix");
    QApplication::setWindowIcon(CPealDlg::ApplicationIcon());
    theApp.InitInstance();
    return 0;
}
