// The GDB link against a Cortex-M33 nobody here wrote: QEMU's mps2-an505.

#include "GdbRig.h"
#include "support/ChildRun.h"
#include "support/QemuBoard.h"
#include "link/GdbRemote.h"
#include "link/LinkCycle.h"
#include "ops/ChipControl.h"
#include "ops/MemoryOps.h"
#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWatch.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/RowChanges.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct RecordingDump : DumpView
{
    void SetDumpText(const QString &text) override { last = text; }
    QString last;
};

// A board started for one test, and a Corvane installation pointing at it.
class QemuAn505 : public ::testing::Test
{
protected:
    void StartBoard(const QString &firmware = QString())
    {
        if (QemuBoard::Program().isEmpty())
            GTEST_SKIP() << "qemu-system-arm is not installed (scripts/install-deps.sh installs it)";
        ASSERT_TRUE(board.Start(firmware));
        rig = std::make_unique<GdbRig>(board.GdbServer());
    }

    std::optional<uint32_t> ReadWord(uint32_t address)
    {
        LinkCycle cycle(rig->config, rig->links, rig->context);
        if (!cycle.Preface() || !cycle.Open() || !cycle.Read(address, 4))
            return std::nullopt;
        cycle.Close();
        return rig->links.buffer.Word(0);
    }

    QByteArray FileBytes(const QString &name) const
    {
        QFile file(rig->FilePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

#ifdef CORVANE_AN505_FIRMWARE
    // The board running the test firmware, and a register window on its SVD
    // file showing SCB and TIMER0.
    void StartBoardWithWindow()
    {
        ASSERT_NO_FATAL_FAILURE(StartBoard(CORVANE_AN505_FIRMWARE));
        if (IsSkipped())
            return;
        QDir(rig->home.path()).mkpath("svd");
        ASSERT_TRUE(QFile::copy(CORVANE_SOURCE_DIR "/svd/AN505.svd", rig->FilePath("svd/AN505.svd")));
        windowEnv = std::make_unique<RegisterWindowEnv>(
            RegisterWindowEnv{rig->config, rig->links, rig->context, rig->home.path()});
        boardWindow = std::make_unique<RegisterWindow>(*windowEnv, windowTable);
        boardWindow->AddPeripheralRows("SCB");
        boardWindow->AddPeripheralRows("TIMER0");
    }
#endif

    QemuBoard board;
    std::unique_ptr<GdbRig> rig;
    RegisterWindowTable windowTable;
    std::unique_ptr<RegisterWindowEnv> windowEnv;
    std::unique_ptr<RegisterWindow> boardWindow;
};

TEST_F(QemuAn505, CpuidReadsAsCortexM33)
{
    StartBoard();
    EXPECT_EQ(ReadWord(0xE000ED00), 0x410FD213u);
    EXPECT_TRUE(rig->user.messages.isEmpty()) << rig->user.messages.join('|').toStdString();
}

TEST_F(QemuAn505, WordWriteReadsBackInTheDump)
{
    StartBoard();
    MemoryOps::WriteWord(rig->env, 0x28000010, 0xC0DE1234);
    RecordingDump dump;
    MemoryOps::Read(rig->env, 0x28000010, 0x8, dump);
    EXPECT_TRUE(rig->user.messages.isEmpty()) << rig->user.messages.join('|').toStdString();
    // The dump shows the bytes in target memory order.
    EXPECT_TRUE(dump.last.contains("34 12 de c0", Qt::CaseInsensitive)) << dump.last.toStdString();
}

TEST_F(QemuAn505, SixtyFourKilobytesThroughFilesBothWays)
{
    StartBoard();
    QByteArray image(64 * 1024, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 131 + (i >> 8)) & 0xFF);
    {
        QFile file(rig->FilePath("in.bin"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(image);
    }
    rig->user.chosenFile = rig->FilePath("in.bin");
    MemoryOps::WriteFromFile(rig->env, 0x28000000);
    rig->user.chosenFile = rig->FilePath("out.bin");
    RecordingDump dump;
    MemoryOps::ReadToFile(rig->env, 0x28000000, 0x10000, dump);
    EXPECT_TRUE(rig->user.messages.isEmpty()) << rig->user.messages.join('|').toStdString();
    EXPECT_EQ(FileBytes("out.bin"), image);
}

TEST_F(QemuAn505, RefusedReadGivesItsMessage)
{
    StartBoard();
    RecordingDump dump;
    MemoryOps::Read(rig->env, 0xFFFFFFF0, 0x10, dump);
    EXPECT_EQ(rig->user.messages, QStringList{"gdb_ReadMem 0xfffffff0 0x10 error !\n"});
    EXPECT_TRUE(dump.last.isEmpty());
    // The link was closed after the failure: the next operation connects anew.
    EXPECT_EQ(ReadWord(0xE000ED00), 0x410FD213u);
}

TEST_F(QemuAn505, DetachLetsTheBoardRunHaltLeavesItStoppedUntilRun)
{
    StartBoard();
    EXPECT_NE(board.Status(), "running"); // started with -S
    ASSERT_TRUE(ReadWord(0xE000ED00));
    EXPECT_EQ(board.Status(), "running");
    ChipControl::HaltHcpu(rig->env);
    EXPECT_TRUE(rig->user.messages.isEmpty()) << rig->user.messages.join('|').toStdString();
    EXPECT_NE(board.Status(), "running");
    QThread::msleep(200);
    EXPECT_NE(board.Status(), "running");
    ChipControl::WatchdogOff(rig->env); // an action after the halt leaves it halted
    EXPECT_NE(board.Status(), "running");
    ChipControl::Run(rig->env);
    EXPECT_EQ(board.Status(), "running");
}

// After a client that asked for multiprocess mode (gdb does), QEMU wants the
// process in every later detach; the board must still run on afterwards.
TEST_F(QemuAn505, DetachAfterAMultiprocessClient)
{
    StartBoard();
    GdbRemote other;
    ASSERT_TRUE(other.Connect(board.GdbServer()));
    other.Close(); // a raw session of its own: qSupported with multiprocess+
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        QByteArray host;
        uint16_t port = 0;
        ASSERT_TRUE(GdbRemote::SplitServer(board.GdbServer(), &host, &port));
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        const QByteArray hello = GdbRemote::Frame("qSupported:multiprocess+") + "+" + GdbRemote::Frame("D;1");
        ::send(fd, hello.constData(), size_t(hello.size()), 0);
        QThread::msleep(300);
        ::close(fd);
    }
    ASSERT_EQ(ReadWord(0xE000ED00), 0x410FD213u);
    EXPECT_EQ(board.Status(), "running");
}

// corvane-cli takes the same branch through the Corvane.ini of its home folder.
TEST_F(QemuAn505, CommandLineToolReadsThroughCorvaneIni)
{
    StartBoard();
    const ChildRun cli = RunCli({"--home", rig->home.path(), "--chip", "AN505", "read", "E000ED00", "4"}, {}, 30000);
    ASSERT_TRUE(cli.finished);
    EXPECT_EQ(cli.status, 0) << cli.err.toStdString();
    EXPECT_TRUE(cli.out.toLower().contains("13 d2 0f 41"));
}

#ifdef CORVANE_AN505_FIRMWARE
TEST_F(QemuAn505, FirmwareCountsOnAfterEachOperation)
{
    StartBoard(CORVANE_AN505_FIRMWARE);
    // Its counters, at the non-secure view of the internal SRAM. A loaded
    // machine may take a while to run the reset handler: wait for it.
    std::optional<uint32_t> magic;
    for (int i = 0; i < 100 && magic != 0xC0FFEE33u; ++i) {
        QThread::msleep(50);
        magic = ReadWord(0x20000000);
    }
    EXPECT_EQ(magic, 0xC0FFEE33u);
    const auto loops = ReadWord(0x20000004);
    std::optional<uint32_t> later = loops;
    for (int i = 0; i < 100 && later && loops && *later == *loops; ++i) {
        QThread::msleep(50);
        later = ReadWord(0x20000004);
    }
    ASSERT_TRUE(loops && later);
    EXPECT_GT(*later, *loops);           // it ran on between the reads: each one detached
    EXPECT_EQ(ReadWord(0x40000000), 1u); // timer 0 enabled, and counting: a live register
    const auto value = ReadWord(0x40000004);
    std::optional<uint32_t> next = value;
    for (int i = 0; i < 100 && next && value && *next == *value; ++i) {
        QThread::msleep(20);
        next = ReadWord(0x40000004);
    }
    ASSERT_TRUE(value && next);
    EXPECT_NE(*next, *value);
    EXPECT_EQ(ReadWord(0xE000E010).value_or(0) & 3u, 3u); // SysTick enabled with its interrupt
}

// A register window on the board's SVD file shows live registers.
TEST_F(QemuAn505, RegisterWindowShowsLiveTimerAndCpuid)
{
    ASSERT_NO_FATAL_FAILURE(StartBoardWithWindow());
    if (IsSkipped())
        return;
    RegisterWindow &window = *boardWindow;
    RegisterRow *scb = window.Tree().FindTopRow("SCB");
    RegisterRow *timer = window.Tree().FindTopRow("TIMER0");
    ASSERT_TRUE(timer && scb);
    const auto caption = [](RegisterRow *top, const QString &name) {
        for (const auto &reg : top->Children())
            if (reg->Name().section(u' ', 0, 0) == name)
                return reg->Name();
        return QString();
    };
    window.SetSelection(scb, false);
    window.ReadSelection();
    EXPECT_TRUE(caption(scb, "CPUID").endsWith("0x410FD213")) << caption(scb, "CPUID").toStdString();
    window.SetSelection(timer, false);
    window.ReadSelection();
    EXPECT_TRUE(caption(timer, "CTRL").endsWith("0x00000001")) << caption(timer, "CTRL").toStdString();
    const QString first = caption(timer, "VALUE");
    QString later = first;
    for (int i = 0; i < 100 && later == first; ++i) {
        QThread::msleep(20);
        window.ReadSelection();
        later = caption(timer, "VALUE");
    }
    EXPECT_NE(later, first);
    EXPECT_TRUE(rig->user.messages.isEmpty()) << rig->user.messages.join('|').toStdString();
}

// A watch over the GDB link: the running timer's counter changes from one
// refresh to the next and is marked; the core's identity never changes.
TEST_F(QemuAn505, WatchMarksTheRunningTimerChanging)
{
    ASSERT_NO_FATAL_FAILURE(StartBoardWithWindow());
    if (IsSkipped())
        return;
    RegisterWindow &window = *boardWindow;
    const auto reg = [&](const QString &top, const QString &name) -> RegisterRow * {
        for (const auto &row : window.Tree().FindTopRow(top)->Children())
            if (row->Name().section(u' ', 0, 0) == name)
                return row.get();
        return nullptr;
    };
    ASSERT_TRUE(reg("TIMER0", "VALUE") && reg("SCB", "CPUID"));

    RegisterWatch::Settings settings;
    settings.chipModel = rig->user.ChipModel();
    settings.interval = std::chrono::milliseconds(50);
    settings.refreshLimit = 4;
    settings.peripherals = RegisterWatch::PeripheralsOf(window.Tree());
    RowChanges changes;
    QStringList stops;
    RegisterWatch watch(rig->config, rig->links);
    ASSERT_TRUE(watch.Start(
        settings,
        [&](const std::vector<PeripheralBytes> &images) {
            for (const PeripheralBytes &image : images)
                window.FillPeripheral(image.name, image.bytes);
            changes.Observe(window.Tree());
        },
        [&](const QString &message) { stops << message; }));
    watch.Wait();

    EXPECT_EQ(stops, QStringList{QString()});
    EXPECT_EQ(watch.LastFigures().refreshes, 4);
    EXPECT_TRUE(changes.ChangedAtLastRead(reg("TIMER0", "VALUE")->Id()));
    EXPECT_FALSE(changes.ChangedAtLastRead(reg("SCB", "CPUID")->Id()));
    EXPECT_TRUE(reg("SCB", "CPUID")->Name().endsWith("0x410FD213")) << reg("SCB", "CPUID")->Name().toStdString();
    EXPECT_TRUE(rig->user.messages.isEmpty()) << rig->user.messages.join('|').toStdString();
}

// A watch keeps its one connection open from refresh to refresh, and the
// firmware runs on between them; at its end the detach leaves the board running.
TEST_F(QemuAn505, WatchHoldsItsConnectionWhileTheFirmwareRuns)
{
    StartBoard(CORVANE_AN505_FIRMWARE);
    if (IsSkipped())
        return;
    std::optional<uint32_t> magic;
    for (int i = 0; i < 100 && magic != 0xC0FFEE33u; ++i) {
        QThread::msleep(50);
        magic = ReadWord(0x20000000);
    }
    ASSERT_EQ(magic, 0xC0FFEE33u);

    RegisterWatch::Settings settings;
    settings.chipModel = rig->user.ChipModel();
    settings.interval = std::chrono::milliseconds(30);
    settings.refreshLimit = 6;
    settings.peripherals = {{"COUNTERS", 0x20000000, 8, {}}};
    std::vector<uint32_t> loops;
    std::vector<bool> connected;
    QStringList states;
    QStringList stops;
    RegisterWatch watch(rig->config, rig->links);
    ASSERT_TRUE(watch.Start(
        settings,
        [&](const std::vector<PeripheralBytes> &images) {
            const QByteArray &bytes = images.at(0).bytes;
            loops.push_back(uint8_t(bytes[4]) | uint8_t(bytes[5]) << 8 | uint8_t(bytes[6]) << 16 |
                            uint32_t(uint8_t(bytes[7])) << 24);
            connected.push_back(rig->links.gdb.IsConnected());
            states << board.Status();
        },
        [&](const QString &message) { stops << message; }));
    watch.Wait();

    EXPECT_EQ(stops, QStringList{QString()});
    EXPECT_EQ(connected, std::vector<bool>(6, true));
    EXPECT_EQ(states, QStringList(6, "running"));
    ASSERT_EQ(loops.size(), 6u);
    for (size_t i = 1; i < loops.size(); ++i)
        EXPECT_GT(loops[i], loops[i - 1]) << "refresh " << i;
    EXPECT_FALSE(rig->links.gdb.IsConnected());
    EXPECT_EQ(board.Status(), "running");
}

// After "halt HCPU" the board stays halted: two reads of TIMER0's counter 2 s
// apart, a write and a watch's refreshes in between, all see it stand
// still. After the run it counts again.
TEST_F(QemuAn505, HaltedBoardStaysHaltedUntilRun)
{
    ASSERT_NO_FATAL_FAILURE(StartBoardWithWindow());
    if (IsSkipped())
        return;
    std::optional<uint32_t> magic;
    for (int i = 0; i < 100 && magic != 0xC0FFEE33u; ++i) {
        QThread::msleep(50);
        magic = ReadWord(0x20000000);
    }
    ASSERT_EQ(magic, 0xC0FFEE33u); // the firmware runs and has started the timer
    ChipControl::HaltHcpu(rig->env);
    EXPECT_NE(board.Status(), "running");
    const auto first = ReadWord(0x40000004);
    QThread::msleep(1000);
    MemoryOps::WriteWord(rig->env, 0x28000010, 0xC0DE1234);
    RegisterWatch::Settings settings;
    settings.chipModel = rig->user.ChipModel();
    settings.interval = std::chrono::milliseconds(50);
    settings.refreshLimit = 3;
    settings.peripherals = RegisterWatch::PeripheralsOf(boardWindow->Tree());
    RowChanges changes;
    RegisterWatch watch(rig->config, rig->links);
    ASSERT_TRUE(watch.Start(
        settings,
        [&](const std::vector<PeripheralBytes> &images) {
            for (const PeripheralBytes &image : images)
                boardWindow->FillPeripheral(image.name, image.bytes);
            changes.Observe(boardWindow->Tree());
        },
        [](const QString &) {}));
    watch.Wait();
    QThread::msleep(1000);
    const auto second = ReadWord(0x40000004);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(*second, *first);
    EXPECT_NE(board.Status(), "running");
    for (const auto &reg : boardWindow->Tree().FindTopRow("TIMER0")->Children())
        EXPECT_FALSE(changes.ChangedAtLastRead(reg->Id())) << reg->Name().toStdString();

    ChipControl::Run(rig->env);
    EXPECT_EQ(board.Status(), "running");
    std::optional<uint32_t> later = second;
    for (int i = 0; i < 100 && later == second; ++i) {
        QThread::msleep(20);
        later = ReadWord(0x40000004);
    }
    ASSERT_TRUE(later);
    EXPECT_NE(*later, *second);
    EXPECT_EQ(board.Status(), "running"); // reads after the run detach again
    EXPECT_TRUE(rig->user.messages.isEmpty()) << rig->user.messages.join('|').toStdString();
}
#endif

} // namespace
