#include "app/PealApp.h"
#include "sound/TemporaryFiles.h"

#include <QApplication>

#include <csignal>

int main(int argc, char* argv[])
{
    // A write past a file-size limit fails, and Write File says so, instead
    // of the signal ending the application; a signal that does end it takes
    // an unfinished write's temporary file with it.
    std::signal(SIGXFSZ, SIG_IGN);
    RemoveTemporaryFilesOnSignals();
    QApplication application(argc, argv);
    SetUpApplicationIdentity();
    theApp.InitInstance();
    return 0;
}
