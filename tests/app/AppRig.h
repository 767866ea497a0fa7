#pragma once

// A private installation folder with Corvane.ini and the fixture SVD, and
// the application started on it with its message boxes recorded.

#include "app/RegisterWindowFrame.h"
#include "app/CorvaneApplication.h"
#include "app/TargetActionRunner.h"
#include "app/ControlPanel.h"
#include "app/MainWindow.h"
#include "app/PeripheralList.h"
#include "app/RegisterWindowView.h"
#include "link/ConfigFile.h"
#include "support/BuildPaths.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// The usual INI: five chips, seven speeds, offline, probe library bound.
inline QString StandardIni(const QString &extra = QString())
{
    return QStringLiteral(
               "[CHIP_TYPE]\nNUM=5\nCHIP_0=VX21A\nCHIP_1=VX21B\nCHIP_2=VX21C\nCHIP_3=VX21D\nCHIP_4=VX21E\nSEL=0\n"
               "[UART_BAUND]\nNUM=7\nBAUND_0=115200\nBAUND_1=1000000\nBAUND_2=2000000\nBAUND_3=3000000\n"
               "BAUND_4=4000000\nBAUND_5=5000000\nBAUND_6=6000000\n"
               "[COMMON]\nDATA_TYPE=0\nJLINK_PORT=123456\nJLINKDLL=%1\n")
               .arg(StandInPath()) +
           extra;
}

// A right click as X11 delivers it: the press, the context-menu event from
// the mouse to the widget under the pointer, then the release.
inline void RightClick(QWidget *widget, const QPoint &at)
{
    QTest::mousePress(widget, Qt::RightButton, {}, at);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &menu);
    QTest::mouseRelease(widget, Qt::RightButton, {}, at);
}

class AppRig
{
public:
    // An empty text writes no Corvane.ini at all.
    explicit AppRig(const QString &ini = StandardIni()) { Prepare(ini); }
    ~AppRig() { Quit(); }

    void Prepare(const QString &ini)
    {
        if (!ini.isEmpty())
            WriteFile(QStringLiteral("Corvane.ini"), ini.toUtf8());
        QDir(dir.path()).mkpath(QStringLiteral("svd"));
        QFile::copy(FixturePath(QStringLiteral("VX21A.svd")), Path(QStringLiteral("svd/VX21A.svd")));
    }

    bool Start()
    {
        AppOptions options;
        options.exeDir = dir.path();
        options.serialPorts = [this] { return ports; };
        app = std::make_unique<CorvaneApplication>(options);
        app->User().messageHook = [this](const QString &text) { messages << text; };
        app->User().fileHook = [this](const FileRequest &) { return chosenFile; };
        const bool started = app->InitInstance();
        if (started)
            app->MainFrame()->resize(1200, 800);
        QApplication::processEvents();
        return started;
    }

    // Closes the main window as the user does, then lets everything go.
    void Quit()
    {
        if (!app)
            return;
        if (app->MainFrame())
            app->MainFrame()->close();
        app.reset();
        QApplication::processEvents();
    }

    // Waits until the target action last asked for (a panel button, a
    // register window's read or write) has ended and handed back its
    // results; false when it still runs after 20 s.
    bool WaitForActions()
    {
        QElapsedTimer waited;
        waited.start();
        while (app->Actions().IsRunning() && waited.elapsed() < 20000)
            QTest::qWait(5);
        QApplication::processEvents();
        return !app->Actions().IsRunning();
    }

    void Settle()
    {
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }

    QString Path(const QString &name) const { return QDir(dir.path()).filePath(name); }
    void WriteFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    ConfigFile Config() const { return ConfigFile(Path(QStringLiteral("Corvane.ini"))); }
    int ReadInt(const QString &section, const QString &key, int fallback = -999) const
    {
        return Config().ReadInt(section, key, fallback);
    }

    MainWindow &Frame() const { return *app->MainFrame(); }
    ControlPanel &Panel() const { return Frame().Panel(); }
    PeripheralList &Peripherals() const { return Panel().Peripherals(); }
    QComboBox *List(int id) const { return Panel().findChild<QComboBox *>(QString::number(id)); }
    QCheckBox *Box(int slot) const { return Panel().findChild<QCheckBox *>(QString::number(1010 + slot)); }
    QWidget *Control(int id) const { return Panel().findChild<QWidget *>(QString::number(id)); }

    // The user picks entry `index` of a list.
    void Pick(int id, int index)
    {
        QComboBox *list = List(id);
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
    // The user moves through a list with the arrow keys to entry `index`.
    void PickByKey(int id, int index)
    {
        QComboBox *list = List(id);
        list->setFocus();
        while (list->currentIndex() < index)
            QTest::keyClick(list, Qt::Key_Down);
        while (list->currentIndex() > index)
            QTest::keyClick(list, Qt::Key_Up);
    }

    QTemporaryDir dir;
    QStringList messages;
    QList<SerialPortEntry> ports;
    QString chosenFile;
    std::unique_ptr<CorvaneApplication> app;
};
