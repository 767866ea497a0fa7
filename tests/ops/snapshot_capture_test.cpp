#include "CaptureRig.h"

#include <gtest/gtest.h>

namespace {

TEST(SnapshotCapture, OnePeripheralInTwoWindowsIsReadOnceAndReloadedInBoth)
{
    CaptureRig rig;
    rig.user.dataSourceEntry = 1;
    rig.user.probeText = "123456";
    rig.UseProbe(999); // JLINK_PORT names another probe: the selector wins
    rig.probe.PokeWord(0x20001000, 0x000000A5);
    rig.probe.PokeWord(0x200010FC, 0x12345678);
    RegisterWindow &one = rig.WindowWith({"TIMER"}, 1);
    RegisterWindow &three = rig.WindowWith({"TIMER"}, 3);
    rig.list.rows = {{"GPIO", 0, false}, {"TIMER", 0b1010, true}};
    rig.Capture();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.ProbeReads(), QStringList{"JLINK_ReadMemEx 0x20001000 0x100 4"});
    EXPECT_TRUE(rig.probe.CallLog().contains("JLINK_EMU_SelectByUSBSN 123456"));
    const QByteArray file = rig.ReadFile(rig.DataPath("TIMER"));
    ASSERT_EQ(file.size(), 0x100);
    EXPECT_EQ(file.mid(0xFC), Words({0x12345678}));
    for (RegisterWindow *window : {&one, &three}) {
        EXPECT_EQ(Register(*window, "TIMER", "CR")->Name(), "CR                0x000000A5");
        EXPECT_EQ(Child(*window, "TIMER", "CR", "MODE")->Value(), "10");
    }
    EXPECT_FALSE(QFile::exists(rig.DataPath("GPIO")));
    EXPECT_EQ(rig.user.busyDepth, 0);
}

TEST(SnapshotCapture, OverTheUartLink)
{
    CaptureRig rig("VX21D");
    rig.user.dataSourceEntry = 2;
    rig.chip.PokeWord(0x20002000, 0x5A);
    RegisterWindow &window = rig.WindowWith({"GPIO", "TIMER"}, 0);
    // The second ticked row has no mark: it asks the slot used before.
    rig.list.rows = {{"GPIO", 0b1, true}, {"TIMER", 0, true}};
    rig.Capture();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.ReadFile(rig.DataPath("GPIO")), Words({0x5A}));
    EXPECT_EQ(rig.ReadFile(rig.DataPath("TIMER")).size(), 0x100);
    EXPECT_EQ(Child(window, "GPIO", "OUT", "PIN")->Value(), "90");
    EXPECT_FALSE(rig.PortHeld());
}

TEST(SnapshotCapture, OfflineOnlyReloads)
{
    for (int entry : {0, -1, 4}) {
        SCOPED_TRACE(entry);
        CaptureRig rig;
        rig.user.dataSourceEntry = entry;
        RegisterWindow &zero = rig.WindowWith({"GPIO"}, 0);
        RegisterWindow &two = rig.WindowWith({"GPIO"}, 2);
        rig.PutFile(rig.DataPath("GPIO"), Words({0x11, 0x22}));
        rig.list.rows = {{"GPIO", 0b101, true}};
        rig.Capture();
        EXPECT_TRUE(rig.probe.CallLog().isEmpty());
        EXPECT_EQ(rig.chip.EnterCount(), 0);
        const QString sizeMessage = "GPIO size 0x4 < file len 0x8, remove following data !\n";
        EXPECT_EQ(rig.user.messages, QStringList({sizeMessage, sizeMessage}));
        EXPECT_EQ(Child(zero, "GPIO", "OUT", "PIN")->Value(), "17");
        EXPECT_EQ(Child(two, "GPIO", "OUT", "PIN")->Value(), "17");
        EXPECT_EQ(rig.ReadFile(rig.DataPath("GPIO")), Words({0x11, 0x22}));
    }
}

// A failure in the second ticked row: the first file is already replaced,
// the second and third stay as they were, and no window reloads.
TEST(SnapshotCapture, FailuresKeepEarlierFilesAndTouchNoLaterOnes)
{
    struct Case
    {
        const char *what;
        int entry;
        QString model;
        std::function<void(CaptureRig &)> setUp;
        QString message;
        bool firstReplaced;
    };
    const Case cases[] = {
        {"probe read", 1, "VX21A", [](CaptureRig &r) { r.probe.SetFault("short-read", 2); },
         "jlink_ReadMemEx 0x20001000 0x100 error !\n", true},
        {"no window", 1, "VX21A", [](CaptureRig &r) { r.list.rows[1].marks = 0b100; }, "TIMER GetRegInfo error !\n",
         true},
        {"not shown", 2, "VX21A", [](CaptureRig &r) { r.list.rows[1].name = "SPI"; }, "SPI GetRegInfo error !\n", true},
        {"create", 2, "VX21A",
         [](CaptureRig &r) {
             QFile::remove(r.DataPath("TIMER"));
             QDir().mkpath(r.DataPath("TIMER"));
         },
         "<home>/data/VX21A/TIMER.bin create error !\n", true},
        {"too big", 1, "VX21A", [](CaptureRig &r) { r.list.rows[1].name = "BIG"; },
         "BIG span 0x4004 does not fit the 0x4000-byte transfer buffer, refused !\n", true},
        {"escape", 1, "VX21A", [](CaptureRig &r) { r.list.rows[1].name = "../ESC"; },
         "<home>/data/VX21A/../ESC.bin create error !\n", true},
        {"no uart", 2, "VX21E", {}, "VX21E not support uart debug !\n", false},
        {"no probe library", 1, "VX21A", [](CaptureRig &r) { r.links.jlink.Bind({r.FilePath("none.so")}); },
         "Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!",
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CaptureRig rig(c.model);
        rig.user.dataSourceEntry = c.entry;
        rig.user.probeText = "123456";
        rig.probe.PokeWord(0x20002000, 0x77);
        rig.chip.PokeWord(0x20002000, 0x77);
        RegisterWindow &window = rig.WindowWith({"GPIO", "TIMER", "BIG", "../ESC"}, 0);
        rig.list.rows = {{"GPIO", 1, true}, {"TIMER", 1, true}, {"A_LAST", 1, true}};
        for (const char *name : {"GPIO", "TIMER", "A_LAST"})
            rig.PutFile(rig.DataPath(name), "old");
        if (c.setUp)
            c.setUp(rig);
        rig.Capture();
        QString expected = c.message;
        expected.replace("<home>", rig.home.path());
        EXPECT_EQ(rig.user.messages, QStringList{expected});
        EXPECT_EQ(rig.ReadFile(rig.DataPath("GPIO")), c.firstReplaced ? Words({0x77}) : QByteArray("old"));
        if (QFileInfo(rig.DataPath("TIMER")).isFile()) {
            EXPECT_EQ(rig.ReadFile(rig.DataPath("TIMER")), "old");
        }
        EXPECT_EQ(rig.ReadFile(rig.DataPath("A_LAST")), "old");
        EXPECT_EQ(Child(window, "GPIO", "OUT", "PIN")->Value(), "0") << "no reload after a failure";
        EXPECT_FALSE(rig.PortHeld());
        EXPECT_EQ(rig.user.busyDepth, 0);
    }
}

TEST(SnapshotCapture, NoTickedRowOpensAndClosesTheLink)
{
    CaptureRig rig;
    rig.user.dataSourceEntry = 1;
    rig.user.probeText = "";
    rig.probe.SetProbes({0});
    rig.list.rows = {{"GPIO", 0, false}};
    rig.Capture();
    EXPECT_TRUE(rig.user.messages.isEmpty());
    const QStringList log = rig.probe.CallLog();
    EXPECT_TRUE(log.contains("JLINK_EMU_SelectByUSBSN 0")) << "an empty selector counts as 0";
    EXPECT_TRUE(log.contains("JLINK_Close"));
    EXPECT_TRUE(rig.ProbeReads().isEmpty());
    EXPECT_FALSE(QDir(rig.home.filePath("data")).exists());
}

} // namespace

TEST(SnapshotCapture, LeavesOutRegistersThatReadingChanges)
{
    CaptureRig rig;
    rig.PutSvd("VX21A", R"(<device><peripherals><peripheral><name>UART</name><baseAddress>0x20005000</baseAddress>
<registers><register><name>CTRL</name><addressOffset>0</addressOffset></register>
<register><name>STATUS</name><addressOffset>8</addressOffset><readAction>clear</readAction></register>
<register><name>DATA</name><addressOffset>0xC</addressOffset></register></registers></peripheral></peripherals></device>)");
    rig.user.dataSourceEntry = 1;
    rig.user.probeText = "123456";
    rig.UseProbe();
    for (uint32_t i = 0; i < 0x10; i += 4)
        rig.probe.PokeWord(0x20005000 + i, 0xC0DE0000 + i);
    rig.PutFile(rig.DataPath("UART"), Words({0, 0, 0x55, 0}));
    RegisterWindow &window = rig.WindowWith({"UART"}, 0);
    rig.list.rows = {{"UART", 0b1, true}};
    rig.Capture();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.ProbeReads(), QStringList({"JLINK_ReadMemEx 0x20005000 0x8 4", "JLINK_ReadMemEx 0x2000500c 0x4 4"}));
    EXPECT_EQ(rig.ReadFile(rig.DataPath("UART")), Words({0xC0DE0000, 0xC0DE0004, 0x55, 0xC0DE000C}));
    EXPECT_EQ(Register(window, "UART", "STATUS")->Name().section(' ', -1), "0x00000055");
}
