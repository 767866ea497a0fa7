#pragma once

// A memory window over the simulated chip on the UART link, as a person
// opens and drives it: the rig of the memory window tests.

#include "AppRig.h"

#include "SimulatedChip.h"
#include "app/MemoryHexArea.h"
#include "app/MemoryWindow.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

inline constexpr uint32_t kRam = 0x20000000;
inline constexpr uint32_t kCounter = 0x20000010; // counts up at every read
inline constexpr uint32_t kUartCr = 0x40001000;  // UART0.CR of the fixture SVD

struct MemRig
{
    explicit MemRig(const QString &extra = QString())
        : chip("VX21A")
    {
        started = chip.Start();
        for (uint32_t i = 0; i < 0x100; ++i)
            chip.PokeWord(kRam + 4 * i, 0xC0DE0000u | i);
        chip.PokeWord(kUartCr, 0x21);
        rig.Prepare(StandardIni(QStringLiteral("UART_PORT=%1\nUART_BAUND=6\n").arg(chip.PortPath()) + extra)
                        .replace("DATA_TYPE=0", "DATA_TYPE=2"));
    }
    bool Start()
    {
        if (!started || !rig.Start())
            return false;
        rig.app->MainFrame()->resize(1400, 900);
        QApplication::processEvents();
        return true;
    }
    // A memory window opened with the panel's button, its reads done.
    MemoryWindow *Open()
    {
        QTest::mouseClick(rig.Panel().findChild<QPushButton *>("1043"), Qt::LeftButton);
        MemoryWindow *window = rig.app->MemoryWindows().value(rig.app->MemoryWindows().size() - 1);
        if (window)
            Settle(window);
        return window;
    }
    static void Settle(MemoryWindow *window)
    {
        QTRY_COMPARE_WITH_TIMEOUT(window->Outstanding(), 0, 10000);
        QApplication::processEvents();
    }
    template<typename T> static T *Tool(MemoryWindow *window, const char *name)
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    static void Key(MemoryWindow *window, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(window->Hex(), key, modifiers);
    }
    static void Type(MemoryWindow *window, const char *text)
    {
        QTest::keyClicks(window->Hex(), QString::fromLatin1(text));
    }
    static void ClickUnit(MemoryWindow *window, uint32_t address)
    {
        QTest::mouseClick(window->Hex()->viewport(), Qt::LeftButton, {}, window->Hex()->UnitRect(address).center());
    }
    // Ctrl+G, the text and Enter, each key to the widget with the focus as
    // the display delivers it (the address box, not its line edit).
    static void GoTo(MemoryWindow *window, const char *text)
    {
        // The window the user works in; the completer's list may have left
        // the offscreen platform's main window inactive.
        window->window()->activateWindow();
        QApplication::processEvents();
        window->Hex()->setFocus(Qt::MouseFocusReason);
        Key(window, Qt::Key_G, Qt::ControlModifier);
        QWidget *box = QApplication::focusWidget();
        ASSERT_EQ(box, Tool<QComboBox>(window, "address"));
        QTest::keyClicks(box, QString::fromLatin1(text));
        QTest::keyClick(box, Qt::Key_Return);
        Settle(window);
    }

    SimulatedChip chip;
    bool started = false;
    AppRig rig{QString()};
};
