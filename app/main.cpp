#include "app/CorvaneApplication.h"
#include "app/MainWindow.h"
#include "link/Language.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    // The language: --language en|zh, else the one chosen in View -> Language,
    // else the user's locale; under the C locale the texts of the sources.
    const QSettings profile{QString::fromUtf8(MainWindow::kCompany), QString::fromLatin1(CorvaneApplication::kAppName)};
    UiLanguage::Install(application, UiLanguage::Choose(UiLanguage::FromArguments(application.arguments()),
                                                        UiLanguage::Remembered(profile), QLocale::system()));
    CorvaneApplication app;
    if (!app.InitInstance())
        return 1;
    return application.exec();
}
