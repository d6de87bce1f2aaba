#include "app/PealApp.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    SetUpApplicationIdentity();
    theApp.InitInstance();
    return 0;
}
