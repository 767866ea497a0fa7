// The panel's buttons run the operations on the simulated chip; the long
// file transfers show their progress while the rest of the windows wait.

#include "AppRig.h"

#include "SimulatedChip.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

namespace {

struct ChipRig
{
    ChipRig()
        : chip("VX21A")
    {
        started = chip.Start();
        for (uint32_t i = 0; i < 0x4000; ++i)
            chip.PokeWord(0x20000000u + 4 * i, 0xC0DE0000u | i);
        rig = std::make_unique<AppRig>(StandardIni(QStringLiteral("UART_PORT=%1\nUART_BAUND=1\n").arg(chip.PortPath()))
                                           .replace("DATA_TYPE=0", "DATA_TYPE=2"));
    }
    void Type(int id, const QString &text) { rig->Panel().findChild<QLineEdit *>(QString::number(id))->setText(text); }
    void Click(int id)
    {
        QTest::mouseClick(rig->Panel().findChild<QPushButton *>(QString::number(id)), Qt::LeftButton);
        rig->WaitForActions();
    }

    SimulatedChip chip;
    bool started = false;
    std::unique_ptr<AppRig> rig;
};

} // namespace

TEST(PanelOperationsTest, ReadShowsTheDumpAndWriteReachesTheChip)
{
    ChipRig board;
    ASSERT_TRUE(board.started);
    ASSERT_TRUE(board.rig->Start());
    board.Type(1021, "20000000");
    board.Type(1024, "20");
    board.Click(1023);
    const QString dump = board.rig->Panel().findChild<QPlainTextEdit *>("1022")->toPlainText();
    EXPECT_TRUE(dump.startsWith("20000000")) << dump.toStdString();
    EXPECT_TRUE(board.rig->messages.isEmpty()) << board.rig->messages.join('|').toStdString();

    board.Type(1035, "20000010");
    board.Type(1034, "12345678");
    board.Click(1026);
    EXPECT_EQ(board.chip.PeekWord(0x20000010), 0x12345678u);
}

TEST(PanelOperationsTest, ReadToFileShowsBytesDoneOfTheTotal)
{
    ChipRig board;
    ASSERT_TRUE(board.started);
    ASSERT_TRUE(board.rig->Start());
    board.rig->chosenFile = board.rig->Path("memory.bin");
    board.Type(1021, "20000000");
    board.Type(1024, "10000");

    // What the dialog shows as the transfer goes: at each step, the step
    // before (this slot was connected first, the dialog shows each step
    // just after it).
    QStringList seen;
    QObject::connect(&board.rig->app->Actions(), &TargetActionRunner::Progress, [&] {
        if (auto *progress = board.rig->Panel().findChild<QProgressDialog *>("progress"))
            if (progress->isVisible() && !progress->labelText().isEmpty() &&
                (seen.isEmpty() || seen.last() != progress->labelText()))
                seen << progress->labelText();
    });
    board.Click(1025);

    EXPECT_EQ(QFileInfo(board.rig->Path("memory.bin")).size(), 0x10000);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(seen.last().endsWith("/ 65536 bytes")) << seen.last().toStdString();
    // Gone with the operation; the panel is usable again.
    EXPECT_EQ(board.rig->Panel().findChild<QProgressDialog *>("progress"), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(PanelOperationsTest, OfflineDataSourceSaysSo)
{
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    rig.Panel().findChild<QLineEdit *>("1021")->setText("20000000");
    rig.Panel().findChild<QLineEdit *>("1024")->setText("10");
    QTest::mouseClick(rig.Panel().findChild<QPushButton *>("1023"), Qt::LeftButton);
    rig.WaitForActions();
    EXPECT_EQ(rig.messages, QStringList{"Please select online data type !\n"});
}
