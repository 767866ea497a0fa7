#include "app/CorvaneApp.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    CCorvaneApp app;
    if (!app.InitInstance())
        return 1;
    return application.exec();
}
