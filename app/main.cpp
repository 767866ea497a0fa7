#include "app/CorvaneApplication.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    CorvaneApplication app;
    if (!app.InitInstance())
        return 1;
    return application.exec();
}
