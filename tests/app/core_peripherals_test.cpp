// The core's own peripherals from the shipped file: listed for a chip whose
// SVD file lacks them, added to a register window like any other, read from
// the simulated chip over its UART link.

#include "AppRig.h"
#include "GridRows.h"

#include "SimulatedChip.h"
#include "regmap/CorePeripherals.h"
#include "widgets/PropertyGrid.h"

#include <QHeaderView>
#include <QMenu>

namespace {

constexpr uint32_t kCpuid = 0xE000ED00;

QStringList TopRows(RegisterWindowView *window)
{
    QStringList rows;
    GridView grid(window->Grid()->Tree());
    for (int i = 0; i < grid->topLevelItemCount(); ++i)
        rows << grid->topLevelItem(i)->text(0).section(u' ', 0, 0);
    return rows;
}

GridItem Child(GridItem parent, const QString &name)
{
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0).section(u' ', 0, 0) == name)
            return parent->child(i);
    return nullptr;
}

} // namespace

TEST(CorePeripheralsTest, ScbIsAddedToAWindowOfAChipWithoutItAndReadsCpuid)
{
    const QString coreFile = SourcePath(QStringLiteral("svd/") + QLatin1String(CorePeripherals::kFileName));
    ASSERT_TRUE(QFile::exists(coreFile)) << coreFile.toStdString();
    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    chip.PokeWord(kCpuid, 0x410FD214);
    AppRig rig(StandardIni(QStringLiteral("UART_PORT=%1\nUART_BAUND=6\nEXPAND_TYPE=2\nHEX_DEC=1\n"
                                          "[VX21A]\nWND_0=1\nWND_1=1\nNVIC=2\n")
                               .arg(chip.PortPath()))
                   .replace("DATA_TYPE=0", "DATA_TYPE=2"));
    ASSERT_TRUE(QFile::copy(coreFile, rig.Path(QStringLiteral("svd/") + QLatin1String(CorePeripherals::kFileName))));
    ASSERT_TRUE(rig.Start());

    // The fixture's file has none of them: all eight are listed beside its own.
    PeripheralList &list = rig.Peripherals();
    for (const char *name : {"SCB", "NVIC", "SysTick", "MPU", "SAU", "DWT", "FPU", "DCB"})
        EXPECT_NE(list.FindRow(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_NE(list.FindRow("UART0"), nullptr);
    // A window that showed one when the application closed shows it again.
    EXPECT_EQ(TopRows(rig.app->RegisterWindow(1)), QStringList{"NVIC"});

    // A double click in window 0's column adds SCB there.
    QTreeWidgetItem *scb = list.FindRow("SCB");
    list.scrollToItem(scb);
    const QRect row = list.visualItemRect(scb);
    const QPoint cell(list.header()->sectionViewportPosition(1) + list.header()->sectionSize(1) / 2, row.center().y());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(rig.ReadInt("VX21A", "SCB"), 1);
    RegisterWindowView *window = rig.app->RegisterWindow(0);
    ASSERT_EQ(TopRows(window), QStringList{"SCB"});

    window->menuExec = [](QMenu &menu, const QPoint &) -> QAction * {
        for (QAction *action : menu.actions())
            if (action->text() == QString::fromUtf8("寄存器读取"))
                return action;
        return nullptr;
    };
    GridView grid(window->Grid()->Tree());
    const GridItem top = grid->topLevelItem(0);
    grid->scrollToItem(top);
    RightClick(grid->viewport(), grid->visualItemRect(top).center());
    ASSERT_TRUE(rig.WaitForActions());
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();
    const GridItem cpuid = Child(top, "CPUID");
    ASSERT_TRUE(cpuid);
    EXPECT_TRUE(cpuid->text(1).endsWith("0x410FD214")) << cpuid->text(1).toStdString();
    const GridItem partno = Child(cpuid, "PARTNO");
    ASSERT_TRUE(partno);
    EXPECT_TRUE(partno->text(1).contains("D21", Qt::CaseInsensitive)) << partno->text(1).toStdString();
}
