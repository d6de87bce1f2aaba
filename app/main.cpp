#include "app/PealApp.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[])
{
    // A write past a file-size limit fails, and Write File says so, instead
    // of the signal ending the application.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication application(argc, argv);
    SetUpApplicationIdentity();
    theApp.InitInstance();
    return 0;
}
